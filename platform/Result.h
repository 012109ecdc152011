#pragma once
// Outcome of an operation that can fail with a message in the system's own words.

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace quastor {

struct Failure {
  std::string message;
};

// Either a value or a failure message.
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}            // NOLINT(google-explicit-constructor)
  Result(Failure failure) : state_(std::move(failure)) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }
  const T& value() const { return std::get<0>(state_); }
  T& value() { return std::get<0>(state_); }
  const T& operator*() const { return value(); }
  const T* operator->() const { return &value(); }
  const std::string& error() const { return std::get<1>(state_).message; }
  // The failure, to pass on as another Result's or a Status's: `return read.failure();`.
  Failure failure() const { return Failure{error()}; }

 private:
  std::variant<T, Failure> state_;
};

// Success, or a failure message.
class [[nodiscard]] Status {
 public:
  Status() = default;
  Status(Failure failure)
      : error_(std::move(failure.message)) {}  // NOLINT(google-explicit-constructor)
  static Status Ok() { return Status(); }

  bool ok() const { return !error_.has_value(); }
  explicit operator bool() const { return ok(); }
  const std::string& error() const { return *error_; }
  Failure failure() const { return Failure{*error_}; }

 private:
  std::optional<std::string> error_;
};

}  // namespace quastor
