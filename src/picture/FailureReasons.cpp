#include "picture/FailureReasons.h"

#include <filesystem>

#include "imagefiles/Utf8Path.h"
#include "import/ImportSettingsText.h"
#include "picture/Picture.h"

namespace {

using imagefiles::FailureKind;

// The file's own name, without its folders: the user knows which folder they chose.
std::string ShortName(const std::string& path) {
    const std::string name = imagefiles::Utf8FromPath(imagefiles::PathFromUtf8(path).filename());
    return name.empty() ? path : name;
}

std::string InBrackets(const std::string& detail) { return detail.empty() ? "" : " (" + detail + ")"; }

// Kinds the import reads although the palette loads do not.
bool ImportCanRead(const std::string& kind) {
    return kind == "PNG" || kind == "JPEG" || kind == "BMP" || kind == "PCX";
}

// A refused unit name's detail is already the sentence the unit-name rule gives.
std::string DescribeNameFailure(const std::string& detail) {
    return detail.empty() ? "The unit name cannot be stored." : detail;
}

}  // namespace

std::string DescribeLoadFailure(const std::string& Filename, const imagefiles::FileFailure& Failure,
                                const ImportCommandWords& Import) {
    const std::string name = ShortName(Filename);
    const std::string detail = imagefiles::ReasonText(Failure);
    const std::string side = std::to_string(kPictureSide);
    switch (Failure.Kind) {
        case FailureKind::CannotOpen:
            return name + " cannot be opened" + InBrackets(detail) + ". Check that the file is there and readable.";
        case FailureKind::TooLarge:
            return name + " is far larger than a picture file can be" + InBrackets(detail) + ".";
        case FailureKind::OtherKind:
            if (detail == "BMP" && !Import.LoadBmp.empty())
                return name + " is a BMP picture. Use " + std::string(Import.LoadBmp) + " to load it.";
            if (detail == "PCX" && !Import.LoadPcx.empty())
                return name + " is a PCX picture. Use " + std::string(Import.LoadPcx) + " to load it.";
            if (ImportCanRead(detail))
                return name + " is a " + detail + " picture. Use " + std::string(Import.Path) + " to bring it in.";
            return name + " is a " + (detail.empty() ? std::string("kind of") : detail) +
                   " picture, which Iconwright cannot read. Save it as PNG, BMP or PCX in your drawing program.";
        case FailureKind::Unrecognised:
            return name + " is not a picture file Iconwright knows (BMP, PCX, PNG or JPEG).";
        case FailureKind::Truncated:
            return name + " is cut short" + InBrackets(detail) + ". Save it again in your drawing program.";
        case FailureKind::Malformed:
            return name + " is damaged" + InBrackets(detail) + ". Save it again in your drawing program.";
        case FailureKind::Unsupported:
            return name + " is stored in a way Load BMP and Load PCX do not take" + InBrackets(detail) +
                   "; they take 256-colour pictures. Use " + std::string(Import.Path) + " to bring it in.";
        case FailureKind::TooManyPixels: return name + " has too many pixels" + InBrackets(detail) + ".";
        case FailureKind::WrongSize:
            return name + " is " + detail + " pixels; pictures must be " + side + " x " + side + " (" +
                   std::string(Import.Name) + " can fit it).";
        case FailureKind::FullyTransparent: return name + ": the picture is fully transparent.";
        case FailureKind::NotExact:
        case FailureKind::BadName:
        case FailureKind::CannotWrite:
        case FailureKind::Cancelled: break;
    }
    return name + ": " + (detail.empty() ? std::string("the picture cannot be loaded") : detail) + ".";
}

std::string DescribeImportFileFailure(const std::string& Filename, const imagefiles::FileFailure& Failure) {
    switch (Failure.Kind) {
        case FailureKind::CannotOpen:
        case FailureKind::TooLarge:
        case FailureKind::Unrecognised:
        case FailureKind::Truncated:
        case FailureKind::Malformed:
        case FailureKind::TooManyPixels: return DescribeLoadFailure(Filename, Failure, {});
        default: break;
    }
    return ShortName(Filename) + ": " + import::DescribeImportFailure(Failure) + ".";
}

std::string DescribeWriteFailure(const std::string& Filename, const imagefiles::FileFailure& Failure) {
    const std::string name = ShortName(Filename);
    switch (Failure.Kind) {
        case FailureKind::BadName: return DescribeNameFailure(Failure.Detail);
        case FailureKind::CannotWrite:
        default:
            return name + " could not be written" + InBrackets(imagefiles::ReasonText(Failure)) +
                   ". Choose another folder or file name, or free some space.";
    }
}
