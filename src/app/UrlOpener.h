#pragma once
// Hands a web or mail address to the desktop (browser, mail program). Never blocks and never
// fails loudly: a desktop without a handler simply shows nothing.

#include <string>

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void Open(const std::string& Url) = 0;
};
