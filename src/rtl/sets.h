// Sets of enumeration values, as the platform's set types: each member is one
// bit at its ordinal, so a set also has the bit layout that streams and
// registry values store.
#pragma once

#include <cstdint>
#include <initializer_list>

template <typename E>
class TSet {
 public:
  constexpr TSet() noexcept = default;
  constexpr TSet(std::initializer_list<E> members) noexcept {
    for (E member : members) FBits |= Bit(member);
  }
  static constexpr TSet FromBits(std::uint64_t bits) noexcept {
    TSet result;
    result.FBits = bits;
    return result;
  }

  constexpr std::uint64_t Bits() const noexcept { return FBits; }
  constexpr bool Contains(E member) const noexcept { return (FBits & Bit(member)) != 0; }
  constexpr bool Empty() const noexcept { return FBits == 0; }

  constexpr TSet& Include(E member) noexcept {
    FBits |= Bit(member);
    return *this;
  }
  constexpr TSet& Exclude(E member) noexcept {
    FBits &= ~Bit(member);
    return *this;
  }

  friend constexpr TSet operator+(TSet a, TSet b) noexcept { return FromBits(a.FBits | b.FBits); }
  friend constexpr TSet operator-(TSet a, TSet b) noexcept { return FromBits(a.FBits & ~b.FBits); }
  friend constexpr TSet operator*(TSet a, TSet b) noexcept { return FromBits(a.FBits & b.FBits); }
  constexpr TSet& operator+=(TSet other) noexcept { return *this = *this + other; }
  constexpr TSet& operator-=(TSet other) noexcept { return *this = *this - other; }
  friend constexpr bool operator==(TSet a, TSet b) noexcept = default;

 private:
  static constexpr std::uint64_t Bit(E member) noexcept { return std::uint64_t{1} << static_cast<unsigned>(member); }
  std::uint64_t FBits = 0;
};
