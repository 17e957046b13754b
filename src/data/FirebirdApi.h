#pragma once

// Internal to the data layer: the one place that includes the Firebird API.

#include "DatabaseError.h"

#include <firebird/Interface.h>

#include <utility>

namespace vorlu::data::fb {

Firebird::IMaster* master();
Firebird::IUtil* util();
Firebird::IProvider* provider();

// Builds the error of a failed status: its message lines joined by line breaks, one final full
// stop removed, and its error codes kept.
DatabaseError errorFromStatus(Firebird::IStatus* status);

// A status for one call sequence; check() throws the status's error.
class Status {
public:
    Status();
    ~Status();
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;

    Firebird::CheckStatusWrapper* operator&() { return &wrapper_; }
    Firebird::CheckStatusWrapper* get() { return &wrapper_; }
    bool failed() const { return (wrapper_.getState() & Firebird::IStatus::STATE_ERRORS) != 0; }
    void check()
    {
        if (failed())
            throw errorFromStatus(&wrapper_);
    }
    void clear() { wrapper_.init(); }

private:
    Firebird::IStatus* status_;
    Firebird::CheckStatusWrapper wrapper_;
};

// Owns one reference-counted or disposable interface of the API. The interfaces that end with
// a call of their own (commit, detach, free, close) release themselves when that call
// succeeds; the owner then forgets them with release().
template <typename T>
class Ref {
public:
    Ref() = default;
    explicit Ref(T* ptr) : ptr_(ptr) {}
    ~Ref() { reset(); }
    Ref(Ref&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    Ref& operator=(Ref&& other) noexcept
    {
        if (this != &other) {
            reset();
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    T* release() { return std::exchange(ptr_, nullptr); }
    void reset(T* ptr = nullptr)
    {
        if (ptr_) {
            if constexpr (requires(T* p) { p->release(); })
                ptr_->release();
            else
                ptr_->dispose();
        }
        ptr_ = ptr;
    }

private:
    T* ptr_ = nullptr;
};

} // namespace vorlu::data::fb
