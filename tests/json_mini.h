// A small JSON reader and a validator for the subset of JSON Schema the record's schema uses
// (type, const, enum, properties, required, additionalProperties: false, items, oneOf, $ref to
// "#/$defs/...", minimum, maximum), for the tests of the record.
#pragma once

#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace json_mini {

struct Valor {
    enum class Tipo { Nulo, Booleano, Numero, Texto, Lista, Objeto } tipo = Tipo::Nulo;
    bool booleano = false;
    double numero = 0;
    bool inteiro = false;  // written without '.', 'e' or 'E'
    std::string texto;     // a string, or a number's own text
    std::vector<Valor> lista;
    std::map<std::string, Valor> objeto;

    const Valor& em(const std::string& nome) const { return objeto.at(nome); }  // throws if absent
    const Valor* membro(const std::string& nome) const {
        const auto it = objeto.find(nome);
        return it == objeto.end() ? nullptr : &it->second;
    }
};

class Leitor {
public:
    explicit Leitor(const std::string& s) : s_(s) {}
    Valor le() {
        Valor v = valor();
        espacos();
        if (i_ != s_.size()) erro("text after the value");
        return v;
    }

private:
    const std::string& s_;
    std::size_t i_ = 0;

    [[noreturn]] void erro(const char* o) const {
        throw std::runtime_error(std::string(o) + " at " + std::to_string(i_));
    }
    void espacos() {
        while (i_ < s_.size() &&
               (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\t' || s_[i_] == '\r'))
            ++i_;
    }
    bool aceita(char c) {
        espacos();
        if (i_ < s_.size() && s_[i_] == c) return ++i_, true;
        return false;
    }
    void exige(char c) {
        if (!aceita(c)) erro("unexpected character");
    }
    std::string texto() {
        exige('"');
        std::string t;
        while (i_ < s_.size() && s_[i_] != '"') {
            char c = s_[i_++];
            if (static_cast<unsigned char>(c) < 0x20) erro("control character in a string");
            if (c == '\\') {
                if (i_ >= s_.size()) erro("unfinished escape");
                c = s_[i_++];
                if (c == 'n')
                    c = '\n';
                else if (c == 't')
                    c = '\t';
                else if (c == 'u')
                    c = static_cast<char>(std::stoi(s_.substr(i_, 4), nullptr, 16)), i_ += 4;
                else if (c != '"' && c != '\\' && c != '/')
                    erro("unknown escape");
            }
            t += c;
        }
        exige('"');
        return t;
    }
    Valor valor() {
        Valor v;
        espacos();
        if (i_ >= s_.size()) erro("no value");
        const char c = s_[i_];
        if (c == '{') {
            v.tipo = Valor::Tipo::Objeto;
            ++i_;
            if (aceita('}')) return v;
            do {
                std::string nome = texto();
                exige(':');
                if (!v.objeto.emplace(nome, valor()).second) erro("repeated member");
            } while (aceita(','));
            exige('}');
        } else if (c == '[') {
            v.tipo = Valor::Tipo::Lista;
            ++i_;
            if (aceita(']')) return v;
            do v.lista.push_back(valor());
            while (aceita(','));
            exige(']');
        } else if (c == '"') {
            v.tipo = Valor::Tipo::Texto;
            v.texto = texto();
        } else if (s_.compare(i_, 4, "true") == 0 || s_.compare(i_, 5, "false") == 0) {
            v.tipo = Valor::Tipo::Booleano;
            v.booleano = c == 't';
            i_ += v.booleano ? 4 : 5;
        } else if (s_.compare(i_, 4, "null") == 0) {
            i_ += 4;
        } else {
            const std::size_t inicio = i_;
            if (s_[i_] == '-') ++i_;
            if (i_ >= s_.size() || s_[i_] < '0' || s_[i_] > '9') erro("not a value");
            if (s_[i_] == '0' && i_ + 1 < s_.size() && s_[i_ + 1] >= '0' && s_[i_ + 1] <= '9')
                erro("leading zero");
            while (i_ < s_.size() &&
                   std::string("0123456789.eE+-").find(s_[i_]) != std::string::npos)
                ++i_;
            v.tipo = Valor::Tipo::Numero;
            v.texto = s_.substr(inicio, i_ - inicio);
            v.inteiro = v.texto.find_first_of(".eE") == std::string::npos;
            char* fim = nullptr;
            v.numero = std::strtod(v.texto.c_str(), &fim);
            if (*fim != '\0') erro("malformed number");
        }
        return v;
    }
};

inline Valor le(const std::string& s) {
    return Leitor(s).le();
}

inline bool iguais(const Valor& a, const Valor& b) {
    if (a.tipo != b.tipo) return false;
    switch (a.tipo) {
        case Valor::Tipo::Nulo:
            return true;
        case Valor::Tipo::Booleano:
            return a.booleano == b.booleano;
        case Valor::Tipo::Numero:
            return a.numero == b.numero;
        case Valor::Tipo::Texto:
            return a.texto == b.texto;
        default:
            return false;  // the schema compares only scalars
    }
}

// The reasons v does not satisfy esquema (empty: it does); raiz holds the $defs.
inline std::string valida(const Valor& v, const Valor& esquema, const Valor& raiz) {
    using T = Valor::Tipo;
    if (const Valor* r = esquema.membro("$ref")) {
        const std::string prefixo = "#/$defs/";
        return valida(v, raiz.em("$defs").objeto.at(r->texto.substr(prefixo.size())), raiz);
    }
    if (const Valor* t = esquema.membro("type")) {
        const std::string& tipo = t->texto;
        const bool ok = (tipo == "object" && v.tipo == T::Objeto) ||
                        (tipo == "array" && v.tipo == T::Lista) ||
                        (tipo == "string" && v.tipo == T::Texto) ||
                        (tipo == "boolean" && v.tipo == T::Booleano) ||
                        (tipo == "number" && v.tipo == T::Numero) ||
                        (tipo == "integer" && v.tipo == T::Numero && v.inteiro);
        if (!ok) return "not of type " + tipo;
    }
    if (const Valor* c = esquema.membro("const"); c != nullptr && !iguais(v, *c))
        return "not the constant";
    if (const Valor* e = esquema.membro("enum")) {
        bool achou = false;
        for (const Valor& x : e->lista) achou = achou || iguais(v, x);
        if (!achou) return "not in the enum";
    }
    if (const Valor* m = esquema.membro("minimum"); m != nullptr && v.numero < m->numero)
        return "below minimum";
    if (const Valor* m = esquema.membro("maximum"); m != nullptr && v.numero > m->numero)
        return "above maximum";
    if (const Valor* itens = esquema.membro("items"))
        for (const Valor& x : v.lista)
            if (std::string r = valida(x, *itens, raiz); !r.empty()) return "item: " + r;
    if (const Valor* req = esquema.membro("required"))
        for (const Valor& nome : req->lista)
            if (v.membro(nome.texto) == nullptr) return "missing " + nome.texto;
    if (const Valor* props = esquema.membro("properties")) {
        const Valor* adicionais = esquema.membro("additionalProperties");
        for (const auto& [nome, x] : v.objeto) {
            const Valor* p = props->membro(nome);
            if (p == nullptr) {
                if (adicionais != nullptr && !adicionais->booleano)
                    return "unexpected member " + nome;
                continue;
            }
            if (std::string r = valida(x, *p, raiz); !r.empty()) return nome + ": " + r;
        }
    }
    if (const Valor* um = esquema.membro("oneOf")) {
        int cabem = 0;
        std::string razoes;
        for (const Valor& e : um->lista) {
            const std::string r = valida(v, e, raiz);
            cabem += r.empty() ? 1 : 0;
            razoes += r.empty() ? "" : "[" + r + "] ";
        }
        if (cabem != 1) return "matches " + std::to_string(cabem) + " of oneOf " + razoes;
    }
    return "";
}

}  // namespace json_mini
