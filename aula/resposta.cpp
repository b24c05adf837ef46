// A practice reply's number (resposta.h).
#include "resposta.h"

#include "conversao.h"

namespace sislin::aula {

std::optional<float> numero(std::string t) {
    if (t.find('.') == std::string::npos) {
        const std::size_t virgula = t.find(',');
        if (virgula != std::string::npos && t.find(',', virgula + 1) == std::string::npos)
            t[virgula] = '.';
    }
    Scalar v = 0.0f;
    bool ok = false;
    const char* fim = le_numero_g(t.data(), t.data() + t.size(), v, ok);
    if (!ok || fim != t.data() + t.size()) return std::nullopt;
    return v;
}

}  // namespace sislin::aula
