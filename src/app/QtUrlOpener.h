#pragma once
// Opens addresses with the desktop's own handler (QDesktopServices).

#include "app/UrlOpener.h"

class QtUrlOpener : public UrlOpener {
public:
    void Open(const std::string& Url) override;
};
