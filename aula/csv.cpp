// Tables as text: reading a roster, writing a table (csv.h).
#include "csv.h"

#include <cstddef>

namespace sislin::aula {

namespace {

// The line (from 1) of the byte at pos; a line ends in LF, CRLF or CR.
int linha_de(std::string_view t, std::size_t pos) {
    int linha = 1;
    for (std::size_t i = 0; i < pos && i < t.size(); ++i)
        if (t[i] == '\n' || (t[i] == '\r' && (i + 1 == t.size() || t[i + 1] != '\n'))) ++linha;
    return linha;
}

// Where the first byte that is not part of valid UTF-8 is (overlong forms, surrogates and
// code points past U+10FFFF are not valid), or npos.
std::size_t fora_do_utf8(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size()) {
        const auto c = static_cast<unsigned char>(t[i]);
        if (c < 0x80U) {
            ++i;
            continue;
        }
        std::size_t seguintes = 0;
        unsigned menor = 0x80U;  // the least second byte
        unsigned maior = 0xBFU;  // the greatest
        if (c >= 0xC2U && c <= 0xDFU) {
            seguintes = 1;
        } else if (c >= 0xE0U && c <= 0xEFU) {
            seguintes = 2;
            if (c == 0xE0U) menor = 0xA0U;
            if (c == 0xEDU) maior = 0x9FU;
        } else if (c >= 0xF0U && c <= 0xF4U) {
            seguintes = 3;
            if (c == 0xF0U) menor = 0x90U;
            if (c == 0xF4U) maior = 0x8FU;
        } else {
            return i;
        }
        if (seguintes >= t.size() - i) return i;
        for (std::size_t k = 1; k <= seguintes; ++k) {
            const auto d = static_cast<unsigned char>(t[i + k]);
            const unsigned de = k == 1 ? menor : 0x80U;
            const unsigned ate = k == 1 ? maior : 0xBFU;
            if (d < de || d > ate) return i;
        }
        i += seguintes + 1;
    }
    return std::string_view::npos;
}

bool em_branco(const std::string& s) {
    for (const char c : s)
        if (c != ' ' && c != '\t') return false;
    return true;
}

// The separator the first non-empty line uses: ';' when it has more of them than commas
// outside quotes.
char separador_de(std::string_view t) {
    std::size_t i = t.find_first_not_of(" \t\r\n");
    int virgulas = 0;
    int pontos_e_virgulas = 0;
    bool aspas = false;
    for (; i < t.size() && (aspas || (t[i] != '\n' && t[i] != '\r')); ++i) {
        if (t[i] == '"') aspas = !aspas;
        if (!aspas && t[i] == ',') ++virgulas;
        if (!aspas && t[i] == ';') ++pontos_e_virgulas;
    }
    return pontos_e_virgulas > virgulas ? ';' : ',';
}

}  // namespace

TabelaCsv le_csv(std::string_view texto) {
    TabelaCsv r;
    const auto recusa = [&](std::string erro, std::size_t pos) {
        r.erro = std::move(erro);
        r.erro_linha = pos == std::string_view::npos ? 0 : linha_de(texto, pos);
        r.linhas.clear();
        return r;
    };
    if (texto.substr(0, 4) == std::string_view("PK\x03\x04", 4) ||
        texto.substr(0, 4) == "\xD0\xCF\x11\xE0")
        return recusa(
            "e uma planilha ou um arquivo compactado, nao um CSV; salve a lista como "
            "CSV UTF-8",
            std::string_view::npos);
    if (texto.substr(0, 2) == "\xFF\xFE" || texto.substr(0, 2) == "\xFE\xFF")
        return recusa("esta em UTF-16; salve a lista como CSV UTF-8", std::string_view::npos);
    const std::size_t nulo = texto.find('\0');
    if (nulo != std::string_view::npos)
        return recusa("nao e texto (tem um byte nulo); salve a lista como CSV UTF-8", nulo);
    const std::size_t ruim = fora_do_utf8(texto);
    if (ruim != std::string_view::npos)
        return recusa(
            "nao e texto UTF-8 (uma planilha salva em outra codificacao?); salve a "
            "lista como CSV UTF-8",
            ruim);
    std::size_t inicio = texto.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    const std::string_view t = texto.substr(inicio);
    r.separador = separador_de(t);

    int linha = 1;
    LinhaCsv atual{1, {}};
    std::string celula;
    bool entre_aspas = false;
    bool citada = false;  // the cell began with a quote
    std::size_t abriu = 0;
    const auto fecha_linha = [&]() {
        atual.celulas.push_back(celula);
        celula.clear();
        citada = false;
        bool vazia = true;
        for (const std::string& c : atual.celulas) vazia = vazia && em_branco(c);
        if (!vazia) r.linhas.push_back(std::move(atual));
        atual = LinhaCsv{linha, {}};
    };
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        const bool fim_de_linha = c == '\n' || c == '\r';
        if (entre_aspas) {
            if (c == '"' && i + 1 < t.size() && t[i + 1] == '"') {
                celula += '"';
                ++i;
            } else if (c == '"') {
                entre_aspas = false;
            } else {
                celula += c;
                if (c == '\n' || (c == '\r' && (i + 1 == t.size() || t[i + 1] != '\n'))) ++linha;
            }
            continue;
        }
        if (c == '"' && !citada && em_branco(celula)) {
            celula.clear();
            entre_aspas = true;
            citada = true;
            abriu = inicio + i;
        } else if (c == r.separador) {
            atual.celulas.push_back(celula);
            celula.clear();
            citada = false;
        } else if (fim_de_linha) {
            if (c == '\r' && i + 1 < t.size() && t[i + 1] == '\n') ++i;
            ++linha;
            fecha_linha();
        } else {
            celula += c;
        }
    }
    if (entre_aspas) return recusa("aspas abertas e nunca fechadas", abriu);
    if (!celula.empty() || !atual.celulas.empty()) fecha_linha();
    return r;
}

std::string celula_csv(const std::string& celula) {
    if (celula.find_first_of(",\"\r\n") == std::string::npos) return celula;
    std::string r = "\"";
    for (const char c : celula) {
        if (c == '"') r += '"';
        r += c;
    }
    return r + "\"";
}

std::string linha_csv(const std::vector<std::string>& celulas) {
    std::string r;
    for (std::size_t i = 0; i < celulas.size(); ++i) {
        if (i > 0) r += ',';
        r += celula_csv(celulas[i]);
    }
    return r + "\r\n";
}

}  // namespace sislin::aula
