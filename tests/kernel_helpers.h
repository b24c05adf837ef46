// Small owners for the 1-based arrays handed to the kernels in tests: each creates its array
// with the utility library and releases it when it goes out of scope.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "util.h"

namespace sislin {

namespace kt {

class Vec {
public:
    explicit Vec(int n) : n_(n), v_(cria_vetor(n + 1)) {}
    Vec(std::initializer_list<Scalar> values) : Vec(static_cast<int>(values.size())) {
        int i = 1;
        for (Scalar x : values) v_[i++] = x;
    }
    Vec(const Vec& o) : Vec(o.n_) {
        for (int i = 0; i <= n_; ++i) v_[i] = o.v_[i];
    }
    Vec& operator=(const Vec&) = delete;
    ~Vec() { libera_vetor(v_); }

    operator Vector() const { return v_; }
    Scalar& operator[](int i) { return v_[i]; }
    Scalar operator[](int i) const { return v_[i]; }
    int n() const { return n_; }

private:
    int n_;
    Vector v_;
};

class IVec {
public:
    explicit IVec(int n) : v_(cria_vetor_int(n + 1)) {}
    IVec(const IVec&) = delete;
    IVec& operator=(const IVec&) = delete;
    ~IVec() { libera_vetor(v_); }

    operator IndexVector() const { return v_; }
    int& operator[](int i) { return v_[i]; }
    int operator[](int i) const { return v_[i]; }

private:
    IndexVector v_;
};

class Mat {
public:
    explicit Mat(int n) : n_(n), a_(cria_matriz(n + 1, n + 1)) {}
    Mat(std::initializer_list<std::initializer_list<Scalar>> rows)
        : Mat(static_cast<int>(rows.size())) {
        int i = 1;
        for (const auto& row : rows) {
            int j = 1;
            for (Scalar x : row) a_[i][j++] = x;
            ++i;
        }
    }
    Mat(const Mat& o) : Mat(o.n_) {
        for (int i = 0; i <= n_; ++i)
            for (int j = 0; j <= n_; ++j) a_[i][j] = o.a_[i][j];
    }
    Mat& operator=(const Mat&) = delete;
    ~Mat() { libera_matriz(a_, n_ + 1); }

    operator Matrix() const { return a_; }
    Scalar* operator[](int i) { return a_[i]; }
    const Scalar* operator[](int i) const { return a_[i]; }
    int n() const { return n_; }

private:
    int n_;
    Matrix a_;
};

inline std::uint32_t bits(Scalar x) {
    return std::bit_cast<std::uint32_t>(x);
}

// Same bits in places 1..n (NaNs compare by their bits too).
inline bool mesmos_bits(const Vec& a, const Vec& b, int n) {
    for (int i = 1; i <= n; ++i)
        if (bits(a[i]) != bits(b[i])) return false;
    return true;
}
inline bool mesmos_bits(const Mat& a, const Mat& b, int n) {
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            if (bits(a[i][j]) != bits(b[i][j])) return false;
    return true;
}

// Same bits, or both NaN: when two NaNs meet, which one an operation passes on is not fixed by
// the arithmetic and follows the compiler's operand order, even in the straightforward kernels.
inline bool mesmo_valor(Scalar a, Scalar b) {
    return bits(a) == bits(b) || (std::isnan(a) && std::isnan(b));
}

// mesmo_valor in every place, row and column 0 included, so stray writes show too.
inline bool iguais(const Vec& a, const Vec& b, int n) {
    for (int i = 0; i <= n; ++i)
        if (!mesmo_valor(a[i], b[i])) return false;
    return true;
}
inline bool iguais(const Mat& a, const Mat& b, int n) {
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j)
            if (!mesmo_valor(a[i][j], b[i][j])) return false;
    return true;
}

}  // namespace kt

}  // namespace sislin
