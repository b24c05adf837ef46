// The small JSON reader (json_leitura.h).
#include "json_leitura.h"

#include <climits>
#include <cstdint>

#include "registro.h"

namespace sislin::aula {

namespace {

class Leitor {
public:
    explicit Leitor(std::string_view s) : s_(s) {}

    LeituraJson le() {
        LeituraJson r;
        ValorJson v;
        if (valor(v, 0)) {
            espacos();
            if (i_ == s_.size()) {
                r.valor = std::move(v);
                return r;
            }
            erro_ = "texto depois do valor";
        }
        r.erro = erro_ + " (coluna " + std::to_string(i_ + 1) + ")";
        return r;
    }

private:
    std::string_view s_;
    std::size_t i_ = 0;
    std::string erro_;

    bool falha(const char* motivo) {
        erro_ = motivo;
        return false;
    }
    void espacos() {
        while (i_ < s_.size() &&
               (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\t' || s_[i_] == '\r'))
            ++i_;
    }
    bool aceita(char c) {
        espacos();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    static int hexa(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }
    bool quatro_hexa(std::uint32_t& u) {
        if (s_.size() - i_ < 4) return falha("escape \\u incompleto");
        u = 0;
        for (int k = 0; k < 4; ++k) {
            const int h = hexa(s_[i_++]);
            if (h < 0) return falha("escape \\u incompleto");
            u = u * 16 + static_cast<std::uint32_t>(h);
        }
        return true;
    }
    static void utf8(std::uint32_t u, std::string& t) {
        if (u < 0x80) {
            t += static_cast<char>(u);
        } else if (u < 0x800) {
            t += static_cast<char>(0xC0 | (u >> 6));
            t += static_cast<char>(0x80 | (u & 0x3F));
        } else if (u < 0x10000) {
            t += static_cast<char>(0xE0 | (u >> 12));
            t += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            t += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            t += static_cast<char>(0xF0 | (u >> 18));
            t += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
            t += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            t += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    bool texto(std::string& t) {
        if (!aceita('"')) return falha("esperava um texto entre aspas");
        while (true) {
            if (i_ >= s_.size()) return falha("texto sem as aspas do fim");
            const char c = s_[i_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return falha("caractere de controle num texto");
            if (c != '\\') {
                t += c;
                continue;
            }
            if (i_ >= s_.size()) return falha("escape incompleto");
            const char e = s_[i_++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    t += e;
                    break;
                case 'b':
                    t += '\b';
                    break;
                case 'f':
                    t += '\f';
                    break;
                case 'n':
                    t += '\n';
                    break;
                case 'r':
                    t += '\r';
                    break;
                case 't':
                    t += '\t';
                    break;
                case 'u': {
                    std::uint32_t u = 0;
                    if (!quatro_hexa(u)) return false;
                    if (u >= 0xD800 && u < 0xDC00) {
                        std::uint32_t baixo = 0;
                        if (s_.substr(i_, 2) != "\\u") return falha("surrogate sem par");
                        i_ += 2;
                        if (!quatro_hexa(baixo)) return false;
                        if (baixo < 0xDC00 || baixo >= 0xE000) return falha("surrogate sem par");
                        u = 0x10000 + ((u - 0xD800) << 10) + (baixo - 0xDC00);
                    } else if (u >= 0xDC00 && u < 0xE000) {
                        return falha("surrogate sem par");
                    }
                    utf8(u, t);
                    break;
                }
                default:
                    return falha("escape desconhecido");
            }
        }
    }
    bool digitos() {
        const std::size_t antes = i_;
        while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') ++i_;
        return i_ > antes;
    }
    bool numero(ValorJson& v) {
        const std::size_t inicio = i_;
        if (s_[i_] == '-') ++i_;
        if (i_ < s_.size() && s_[i_] == '0') {
            ++i_;
        } else if (!digitos()) {
            return falha("nao e um valor JSON");
        }
        if (i_ < s_.size() && s_[i_] == '.') {
            ++i_;
            if (!digitos()) return falha("numero malformado");
        }
        if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
            ++i_;
            if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) ++i_;
            if (!digitos()) return falha("numero malformado");
        }
        v.tipo = ValorJson::Tipo::Numero;
        v.texto = std::string(s_.substr(inicio, i_ - inicio));
        return true;
    }
    bool palavra(std::string_view p) {
        if (s_.substr(i_, p.size()) != p) return false;
        i_ += p.size();
        return true;
    }
    bool valor(ValorJson& v, int profundidade) {
        espacos();
        if (i_ >= s_.size()) return falha("sem valor");
        const char c = s_[i_];
        if (c == '{' || c == '[') {
            if (profundidade >= kMaiorProfundidade) return falha("aninhado demais");
            ++i_;
            const bool objeto = c == '{';
            v.tipo = objeto ? ValorJson::Tipo::Objeto : ValorJson::Tipo::Lista;
            if (aceita(objeto ? '}' : ']')) return true;
            do {
                if (objeto) {
                    std::string nome;
                    if (!texto(nome)) return false;
                    if (v.membro(nome) != nullptr) return falha("membro repetido");
                    if (!aceita(':')) return falha("esperava ':'");
                    v.nomes.push_back(std::move(nome));
                }
                v.itens.emplace_back();
                if (!valor(v.itens.back(), profundidade + 1)) return false;
            } while (aceita(','));
            if (!aceita(objeto ? '}' : ']'))
                return falha(objeto ? "esperava ',' ou '}'" : "esperava ',' ou ']'");
            return true;
        }
        if (c == '"') {
            v.tipo = ValorJson::Tipo::Texto;
            return texto(v.texto);
        }
        if (palavra("true") || palavra("false")) {
            v.tipo = ValorJson::Tipo::Booleano;
            v.booleano = c == 't';
            return true;
        }
        if (palavra("null")) return true;
        return numero(v);
    }
};

}  // namespace

const ValorJson* ValorJson::membro(std::string_view nome) const {
    if (tipo != Tipo::Objeto) return nullptr;
    for (std::size_t k = 0; k < nomes.size(); ++k)
        if (nomes[k] == nome) return &itens[k];
    return nullptr;
}

std::optional<int> ValorJson::inteiro() const {
    if (tipo != Tipo::Numero || texto.find_first_of(".eE") != std::string::npos) return {};
    const bool negativo = texto[0] == '-';
    long long v = 0;
    for (std::size_t k = negativo ? 1 : 0; k < texto.size(); ++k) {
        v = v * 10 + (texto[k] - '0');
        if (v > INT_MAX) return {};
    }
    return static_cast<int>(negativo ? -v : v);
}

LeituraJson le_json(std::string_view texto) {
    return Leitor(texto).le();
}

std::string json_compacto(const ValorJson& v) {
    switch (v.tipo) {
        case ValorJson::Tipo::Nulo:
            return "null";
        case ValorJson::Tipo::Booleano:
            return v.booleano ? "true" : "false";
        case ValorJson::Tipo::Numero:
            return v.texto;
        case ValorJson::Tipo::Texto:
            return texto_json(v.texto);
        case ValorJson::Tipo::Lista:
        case ValorJson::Tipo::Objeto:
            break;
    }
    const bool objeto = v.tipo == ValorJson::Tipo::Objeto;
    std::string t = objeto ? "{" : "[";
    for (std::size_t k = 0; k < v.itens.size(); ++k) {
        if (k > 0) t += ',';
        if (objeto) t += texto_json(v.nomes[k]) + ":";
        t += json_compacto(v.itens[k]);
    }
    return t + (objeto ? "}" : "]");
}

}  // namespace sislin::aula
