#include "cli/CliOutput.h"

CliOutput& CliOutput::operator<<(std::string_view text) {
    if (stream_ == nullptr)
        text_.append(text);
    else
        std::fwrite(text.data(), 1, text.size(), stream_);  // a short write shows in the stream's error flag
    return *this;
}

bool CliOutput::Flush() {
    if (stream_ == nullptr) return true;
    return std::fflush(stream_) == 0 && std::ferror(stream_) == 0;
}
