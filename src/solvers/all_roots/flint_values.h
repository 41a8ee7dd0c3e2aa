#pragma once

#include <arb.h>
#include <flint/fmpq.h>
#include <flint/fmpq_poly.h>
#include <flint/fmpz.h>
#include <flint/fmpz_poly.h>
#include <flint/fmpz_poly_factor.h>

namespace valdrex {

// Owners of FLINT values: initialised on construction, cleared on destruction.
class Integer {
  public:
    Integer() { fmpz_init(v_); }
    explicit Integer(long n) { fmpz_init_set_si(v_, n); }
    Integer(const Integer&) = delete;
    Integer& operator=(const Integer&) = delete;
    ~Integer() { fmpz_clear(v_); }
    fmpz* get() { return v_; }
    const fmpz* get() const { return v_; }

  private:
    fmpz_t v_;
};

class Rational {
  public:
    Rational() { fmpq_init(v_); }
    Rational(const Rational&) = delete;
    Rational& operator=(const Rational&) = delete;
    ~Rational() { fmpq_clear(v_); }
    fmpq* get() { return v_; }
    const fmpq* get() const { return v_; }

  private:
    fmpq_t v_;
};

class Real {
  public:
    Real() { arb_init(v_); }
    Real(const Real&) = delete;
    Real& operator=(const Real&) = delete;
    ~Real() { arb_clear(v_); }
    arb_ptr get() { return v_; }

  private:
    arb_t v_;
};

class RationalPolynomial {
  public:
    RationalPolynomial() { fmpq_poly_init(v_); }
    RationalPolynomial(const RationalPolynomial&) = delete;
    RationalPolynomial& operator=(const RationalPolynomial&) = delete;
    ~RationalPolynomial() { fmpq_poly_clear(v_); }
    fmpq_poly_struct* get() { return v_; }
    const fmpq_poly_struct* get() const { return v_; }

  private:
    fmpq_poly_t v_;
};

class IntegerPolynomial {
  public:
    IntegerPolynomial() { fmpz_poly_init(v_); }
    IntegerPolynomial(const IntegerPolynomial&) = delete;
    IntegerPolynomial& operator=(const IntegerPolynomial&) = delete;
    ~IntegerPolynomial() { fmpz_poly_clear(v_); }
    fmpz_poly_struct* get() { return v_; }
    const fmpz_poly_struct* get() const { return v_; }
    int degree() const { return static_cast<int>(fmpz_poly_degree(v_)); }
    const fmpz* coefficient(int k) const { return v_->coeffs + k; }

  private:
    fmpz_poly_t v_;
};

class IntegerFactors {
  public:
    IntegerFactors() { fmpz_poly_factor_init(v_); }
    IntegerFactors(const IntegerFactors&) = delete;
    IntegerFactors& operator=(const IntegerFactors&) = delete;
    ~IntegerFactors() { fmpz_poly_factor_clear(v_); }
    fmpz_poly_factor_struct* get() { return v_; }
    const fmpz_poly_factor_struct* get() const { return v_; }

  private:
    fmpz_poly_factor_t v_;
};

} // namespace valdrex
