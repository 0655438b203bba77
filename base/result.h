#pragma once

#include <QString>

#include <type_traits>
#include <utility>
#include <variant>

namespace kelvane {

// The error of a failed operation, as handed to a Result.
template <class E> struct Failure {
    E error;
};
template <class E> Failure(E) -> Failure<E>;

// The value of an operation that succeeded, or the error of one that failed:
// by default a message for the user. Result<void> holds no value.
template <class T, class E = QString> class [[nodiscard]] Result
{
    using Value = std::conditional_t<std::is_void_v<T>, std::monostate, T>;

public:
    Result() requires std::is_void_v<T>
    = default;
    Result(Value value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(Failure<E> failure) : m_state(std::in_place_index<1>, std::move(failure.error)) {}

    bool ok() const { return m_state.index() == 0; }

    // The value; only for a result that is ok().
    const Value &value() const & { return std::get<0>(m_state); }
    Value &&value() && { return std::get<0>(std::move(m_state)); }

    // The error; only for a result that is not ok().
    const E &error() const { return std::get<1>(m_state); }

private:
    std::variant<Value, E> m_state;
};

} // namespace kelvane
