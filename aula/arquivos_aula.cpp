// Writing the exercise files atomically, and reading the data files for the analysis.
#include "arquivos_aula.h"

#include <cstddef>
#include <cstdio>

#include "arquivos.h"
#include "plataforma.h"

namespace sislin::aula {

namespace {

// The whole file, or nothing when it cannot be opened or read (a directory, say).
std::optional<std::string> conteudo(const char* nome) {
    const int f = abre_leitura_arquivo(nome);
    if (f < 0) return std::nullopt;
    std::string texto;
    char bloco[4096];
    for (;;) {
        const long long r = le_bloco_arquivo(f, bloco, sizeof bloco);
        if (r < 0) {
            fecha_arquivo(f);
            return std::nullopt;
        }
        if (r == 0) break;
        texto.append(bloco, static_cast<std::size_t>(r));
    }
    fecha_arquivo(f);
    return texto;
}

bool grava_inteiro(const std::string& nome, const std::string& texto) {
    std::FILE* f = std::fopen(nome.c_str(), "wb");
    if (f == nullptr) return false;
    const bool escrito = std::fwrite(texto.data(), 1, texto.size(), f) == texto.size();
    return std::fclose(f) == 0 && escrito;
}

// Where rename does not replace an existing file (the C library of Windows), the old one is
// removed first; the new bytes are complete in the temporary file either way.
bool troca(const std::string& de, const std::string& para) {
    if (std::rename(de.c_str(), para.c_str()) == 0) return true;
    std::remove(para.c_str());
    return std::rename(de.c_str(), para.c_str()) == 0;
}

}  // namespace

std::string texto_matriz(const MatrizInt& a) {
    std::size_t largura = 1;
    for (const VetorInt& linha : a)
        for (const std::int64_t v : linha) {
            const std::size_t l = std::to_string(v).size();
            if (l > largura) largura = l;
        }
    std::string texto;
    for (const VetorInt& linha : a) {
        for (std::size_t j = 0; j < linha.size(); ++j) {
            const std::string v = std::to_string(linha[j]);
            if (j > 0) texto += ' ';
            texto.append(largura - v.size(), ' ');
            texto += v;
        }
        texto += '\n';
    }
    return texto;
}

std::string texto_vetor(const VetorInt& b) {
    std::string texto;
    for (const std::int64_t v : b) texto += std::to_string(v) + '\n';
    return texto;
}

std::string grava_arquivos(const std::vector<Arquivo>& arquivos, bool sobrescrever) {
    std::vector<const Arquivo*> novos;
    for (const Arquivo& a : arquivos) {
        const std::optional<std::string> antigo = conteudo(a.nome.c_str());
        if (antigo && *antigo == a.conteudo) continue;
        // Something that cannot be read (a folder, a file without permission) is not replaced
        // unasked either.
        if (!sobrescrever && (antigo || existe_caminho(a.nome.c_str())))
            return "o arquivo " + a.nome +
                   (antigo ? " ja existe com outro conteudo" : " ja existe e nao pode ser lido") +
                   "; use --sobrescrever para substitui-lo";
        novos.push_back(&a);
    }
    std::vector<std::string> temporarios;
    for (const Arquivo* a : novos) {
        temporarios.push_back(a->nome + ".novo");
        if (!grava_inteiro(temporarios.back(), a->conteudo)) {
            for (const std::string& t : temporarios) std::remove(t.c_str());
            return "nao foi possivel gravar " + a->nome;
        }
    }
    // A replacement that fails may have removed the old file already: its new bytes stay in the
    // temporary file, which the message names.
    for (std::size_t i = 0; i < novos.size(); ++i)
        if (!troca(temporarios[i], novos[i]->nome)) {
            for (std::size_t j = i + 1; j < novos.size(); ++j) std::remove(temporarios[j].c_str());
            return "nao foi possivel gravar " + novos[i]->nome + " (o novo conteudo esta em " +
                   temporarios[i] + ")";
        }
    return "";
}

Lidos le_numeros(const char* nome, int linhas, int por_linha) {
    // The program's own reader and messages: linhas rows of por_linha places.
    Lidos r;
    const int lugares = por_linha + 1;
    Matrix m = cria_matriz(linhas + 1, lugares);
    const FalhaDeArquivo falha = le_arq_matriz(nome, linhas, por_linha, m);
    if (falha) {
        r.erro = mensagem_de_falha(falha);
    } else {
        for (int i = 1; i <= linhas; ++i)
            r.valores.insert(r.valores.end(), m[i] + 1, m[i] + lugares);
    }
    libera_matriz(m, linhas + 1);
    return r;
}

}  // namespace sislin::aula
