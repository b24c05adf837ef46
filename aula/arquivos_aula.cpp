// Writing the exercise files, the pair whole or not at all, and reading the data files for the
// analysis.
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

// One file of the pair on its way: the new bytes in a temporary file, the old entry (if any)
// moved aside to a backup until the new one is in place.
struct Troca {
    const Arquivo* arquivo;
    std::string temporario;  // nome.novo
    std::string reserva;     // nome.antigo
    bool existe;             // something is at nome (readable or not)
    bool legivel;            // it could be read: a file, not a folder
    bool gravado = false;    // the temporary file holds the new bytes
    bool guardado = false;   // the old entry is at reserva
    bool posto = false;      // the new file is at nome
};

// Puts everything back as it was: the new files out, the old entries back, no temporary file.
void desfaz(std::vector<Troca>& trocas, const Renomeia& renomeia) {
    for (auto t = trocas.rbegin(); t != trocas.rend(); ++t) {
        if (t->posto && std::remove(t->arquivo->nome.c_str()) == 0) t->posto = false;
        if (t->guardado && !t->posto && renomeia(t->reserva, t->arquivo->nome)) t->guardado = false;
        if (t->gravado) std::remove(t->temporario.c_str());
    }
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

bool renomeia_arquivo(const std::string& de, const std::string& para) {
    return std::rename(de.c_str(), para.c_str()) == 0;
}

std::string grava_arquivos(const std::vector<Arquivo>& arquivos, bool sobrescrever,
                           const Renomeia& renomeia) {
    std::vector<Troca> trocas;
    for (const Arquivo& a : arquivos) {
        const std::optional<std::string> antigo = conteudo(a.nome.c_str());
        if (antigo && *antigo == a.conteudo) continue;
        // Something that cannot be read (a folder, a file without permission) is not replaced
        // unasked either. A dangling symbolic link holds nothing: it is replaced.
        const bool existe = antigo || existe_caminho(a.nome.c_str());
        if (!sobrescrever && existe)
            return "o arquivo " + a.nome +
                   (antigo ? " ja existe com outro conteudo" : " ja existe e nao pode ser lido") +
                   "; use --sobrescrever para substitui-lo";
        trocas.push_back({&a, a.nome + ".novo", a.nome + ".antigo", existe, antigo.has_value()});
    }
    // The names on the way are the program's own: a file of the user's under one of them is not
    // taken over.
    for (const Troca& t : trocas)
        for (const std::string* nome : {&t.temporario, &t.reserva})
            if (existe_caminho(nome->c_str()))
                return "o arquivo " + *nome + " ja existe; apague-o ou renomeie-o antes";
    const std::string falhou = "; nada foi gravado";
    for (Troca& t : trocas) {
        t.gravado = grava_inteiro(t.temporario, t.arquivo->conteudo);
        if (!t.gravado) {
            std::remove(t.temporario.c_str());
            desfaz(trocas, renomeia);
            return "nao foi possivel gravar " + t.arquivo->nome + falhou;
        }
    }
    // The old entries aside, then the new files in their place: each rename is atomic, and
    // until the backups go, every step can be undone.
    for (Troca& t : trocas) {
        t.guardado = t.existe && renomeia(t.arquivo->nome, t.reserva);
        if (t.existe && !t.guardado) {
            desfaz(trocas, renomeia);
            return "nao foi possivel substituir " + t.arquivo->nome + falhou;
        }
    }
    for (Troca& t : trocas) {
        t.posto = renomeia(t.temporario, t.arquivo->nome);
        if (!t.posto) {
            desfaz(trocas, renomeia);
            return "nao foi possivel gravar " + t.arquivo->nome + falhou;
        }
        t.gravado = false;
    }
    // A folder goes only when empty: the unreadable entries' backups are removed first, so that
    // a folder that stays still finds every other backup there to be put back.
    for (const bool legiveis : {false, true})
        for (Troca& t : trocas) {
            if (!t.guardado || t.legivel != legiveis) continue;
            if (!apaga_caminho(t.reserva.c_str())) {
                desfaz(trocas, renomeia);
                return "nao foi possivel substituir " + t.arquivo->nome + falhou;
            }
            t.guardado = false;
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

std::optional<std::string> conteudo_do_arquivo(const std::string& nome) {
    return conteudo(nome.c_str());
}

}  // namespace sislin::aula
