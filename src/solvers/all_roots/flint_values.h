#pragma once

#include <acb.h>
#include <arb.h>
#include <flint/fmpq.h>
#include <flint/fmpq_poly.h>
#include <flint/fmpz.h>
#include <flint/fmpz_factor.h>
#include <flint/fmpz_poly.h>
#include <flint/fmpz_poly_factor.h>

namespace valdrex {

// How each kind of FLINT value is made and freed (FLINT's own functions are static inline, which a
// template cannot take as arguments).
inline void Init(fmpz* v) {
    fmpz_init(v);
}
inline void Clear(fmpz* v) {
    fmpz_clear(v);
}
inline void Init(fmpq* v) {
    fmpq_init(v);
}
inline void Clear(fmpq* v) {
    fmpq_clear(v);
}
inline void Init(arf_struct* v) {
    arf_init(v);
}
inline void Clear(arf_struct* v) {
    arf_clear(v);
}
inline void Init(fmpz_factor_struct* v) {
    fmpz_factor_init(v);
}
inline void Clear(fmpz_factor_struct* v) {
    fmpz_factor_clear(v);
}
inline void Init(arb_struct* v) {
    arb_init(v);
}
inline void Clear(arb_struct* v) {
    arb_clear(v);
}
inline void Init(acb_struct* v) {
    acb_init(v);
}
inline void Clear(acb_struct* v) {
    acb_clear(v);
}
inline void Init(fmpq_poly_struct* v) {
    fmpq_poly_init(v);
}
inline void Clear(fmpq_poly_struct* v) {
    fmpq_poly_clear(v);
}
inline void Init(fmpz_poly_struct* v) {
    fmpz_poly_init(v);
}
inline void Clear(fmpz_poly_struct* v) {
    fmpz_poly_clear(v);
}
inline void Init(fmpz_poly_factor_struct* v) {
    fmpz_poly_factor_init(v);
}
inline void Clear(fmpz_poly_factor_struct* v) {
    fmpz_poly_factor_clear(v);
}

// Owners of FLINT values: initialised on construction, cleared on destruction, never copied (a
// copy would clear the value twice).
template <typename T> class Owned {
  public:
    Owned() { Init(v_); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { Clear(v_); }
    T* get() { return v_; }
    const T* get() const { return v_; }

  private:
    T v_[1];
};

class Integer : public Owned<fmpz> {
  public:
    Integer() = default;
    explicit Integer(long n) { fmpz_set_si(get(), n); }
};

using Rational = Owned<fmpq>;
using Real = Owned<arb_struct>;
using Float = Owned<arf_struct>;
using IntegerFactorisation = Owned<fmpz_factor_struct>;
using RationalPolynomial = Owned<fmpq_poly_struct>;
using IntegerFactors = Owned<fmpz_poly_factor_struct>;

class IntegerPolynomial : public Owned<fmpz_poly_struct> {
  public:
    int degree() const { return static_cast<int>(fmpz_poly_degree(get())); }
    const fmpz* coefficient(int k) const { return get()->coeffs + k; }
};

} // namespace valdrex
