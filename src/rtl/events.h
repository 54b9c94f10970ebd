// Events: method pointers of the class library. A delegate bound to a method of
// an object compares equal to every other delegate bound to the same object and
// method, so observers can be added to and removed from lists by identity, as
// the class library's (code, data) pairs are. A delegate made from any other
// callable (a lambda in a test) compares equal only to its own copies.
#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

#include "rtl/object.h"

template <typename Signature>
class TDelegate;

template <typename R, typename... Args>
class TDelegate<R(Args...)> {
 public:
  TDelegate() = default;
  TDelegate(std::nullptr_t) {}  // NOLINT: nil converts implicitly, as in the class library

  template <typename T, typename Method>
    requires std::is_member_function_pointer_v<Method>
  TDelegate(T* object, Method method) : FObject(object) {
    static_assert(sizeof(Method) <= sizeof(FMethodKey), "method pointer does not fit the identity key");
    std::memcpy(FMethodKey.data(), &method, sizeof(Method));
    FCall = [object, method](Args... args) -> R { return (object->*method)(std::forward<Args>(args)...); };
  }

  template <typename F>
    requires(!std::same_as<std::decay_t<F>, TDelegate> && !std::same_as<std::decay_t<F>, std::nullptr_t> &&
             std::is_invocable_r_v<R, F&, Args...>)
  TDelegate(F callable)  // NOLINT: lambdas convert implicitly
      : FIdentity(std::make_shared<char>()), FCall(std::move(callable)) {
    FObject = FIdentity.get();
  }

  explicit operator bool() const noexcept { return static_cast<bool>(FCall); }

  // Calling an unassigned delegate does nothing (and gives a value-initialised result).
  R operator()(Args... args) const {
    if (!FCall) {
      if constexpr (std::is_void_v<R>) {
        return;
      } else {
        return R{};
      }
    }
    return FCall(std::forward<Args>(args)...);
  }

  // The object part (the class library's Data), nil for an unassigned delegate.
  const void* Data() const noexcept { return FObject; }

  friend bool operator==(const TDelegate& a, const TDelegate& b) noexcept {
    return a.FObject == b.FObject && a.FMethodKey == b.FMethodKey && static_cast<bool>(a) == static_cast<bool>(b);
  }

 private:
  const void* FObject = nullptr;
  std::array<unsigned char, 2 * sizeof(void*)> FMethodKey{};
  std::shared_ptr<char> FIdentity;
  std::function<R(Args...)> FCall;
};

using TNotifyEvent = TDelegate<void(TObject* Sender)>;
