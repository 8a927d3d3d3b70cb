#pragma once

#include <exception>
#include <functional>
#include <string>
#include <utility>

namespace kivrel {

// A failure that ends the running action and reaches the user in the general error box.
// The text is Windows-1252, German as the user reads it.
class KivrelError : public std::exception {
public:
    explicit KivrelError(std::string text) : text_(std::move(text)) {}
    const char* what() const noexcept override { return text_.c_str(); }
    const std::string& text() const noexcept { return text_; }

private:
    std::string text_;
};

// The system's text for an errno value (strerror, in the user's language) as the program's
// Windows-1252: UTF-8 is converted, a legacy code page's text kept as it is.
std::string SystemErrorText(int err);

// The general error box's text: a full stop is added when the last character's code is
// above the full stop's.
std::string GeneralErrorText(std::string text);

// Runs one handler body; any exception it throws ends the body and is shown in the general
// error box instead of crossing the event loop. Returns false when the body failed.
bool RunGuarded(const std::function<void()>& body);

// Runs f at the end of a scope, also when an error leaves it.
template <class F>
class Finally {
public:
    explicit Finally(F f) : f_(std::move(f)) {}
    ~Finally() { f_(); }
    Finally(const Finally&) = delete;
    Finally& operator=(const Finally&) = delete;

private:
    F f_;
};

}  // namespace kivrel
