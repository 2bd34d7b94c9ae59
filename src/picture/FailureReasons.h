#pragma once
// The reason beneath a refused picture file or a failed write, as one or two sentences for the
// user: which file, what is wrong with it, and what to do. The window shows them as a message's
// informative text and iconwright-cli prints them after the failure's own message, so both give
// the same reasons; only the name of the import command differs between the two.

#include <string>
#include <string_view>

#include "imagefiles/FileFailure.h"

// How the caller's interface names its import command: in the window a menu path and a short
// name ("File > Import picture...", "Import picture"), in the CLI the step ("--import"); and
// its two palette loads ("Load BMP", "--load-bmp"), which a file of the other kind is sent to.
struct ImportCommandWords {
    std::string_view Path;
    std::string_view Name;
    std::string_view LoadBmp;
    std::string_view LoadPcx;
};

// Why Filename could not be loaded as a 96 x 96, 256-colour BMP or PCX picture.
std::string DescribeLoadFailure(const std::string& Filename, const imagefiles::FileFailure& Failure,
                                const ImportCommandWords& Import);

// Why Filename could not be imported. A file that cannot be read at all gets the same sentence
// as for a load, so that one cause has one wording; the import's own refusals name the file and
// say what the import found.
std::string DescribeImportFileFailure(const std::string& Filename, const imagefiles::FileFailure& Failure);

// Why Filename could not be written.
std::string DescribeWriteFailure(const std::string& Filename, const imagefiles::FileFailure& Failure);
