#pragma once
// Where iconwright-cli writes its lines: a C stream (the program's standard output and error)
// or, for the tests, a string. Text only, through C's stdio rather than C++ streams: a run takes
// a few milliseconds, and setting up the C++ stream library's locales when the program starts
// took a noticeable part of them.

#include <cstdio>
#include <string>
#include <string_view>

class CliOutput {
public:
    // Writes to stream, which stays open and is flushed by Flush.
    explicit CliOutput(std::FILE* stream) : stream_(stream) {}
    // Keeps what is written; Text returns it.
    CliOutput() = default;

    CliOutput& operator<<(std::string_view text);
    CliOutput& operator<<(char c) { return *this << std::string_view(&c, 1); }

    // Pushes everything written so far to the stream. False when any of it could not be
    // written: a full disk or a closed pipe is a failure, not a silent loss.
    bool Flush();

    const std::string& Text() const { return text_; }

private:
    std::FILE* stream_ = nullptr;
    std::string text_;
};
