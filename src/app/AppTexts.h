#pragma once
// The window's fixed texts: titles, messages, status texts and the About page's people and
// addresses. The cross prompt's texts live with the cross-size rules (picture/CrossSizeText.h).

#include "picture/CommandMessages.h"

namespace AppTexts {

inline constexpr const char* kCaption = "Iconwright by ORBIT";
inline constexpr const char* kProgramTitle = "Iconwright";

// Status bar
inline constexpr const char* kReady = "Ready";
inline constexpr const char* kCompleted = "Completed";
inline constexpr const char* kCopyright = "(c) ORBIT";
inline constexpr const char* kLoadingPictures = "Loading pictures...";
inline constexpr const char* kMakingHighlighted = "Making highlighted picture...";
inline constexpr const char* kMakingDisabled = "Making disabled picture...";
inline constexpr const char* kDisplayingNew = "Displaying new pictures...";
inline constexpr const char* kMakingPreview = "Making preview pictures...";
inline constexpr const char* kSavingGaf = "Saving .GAF...";
inline constexpr const char* kExportingUnit = "Exporting unit...";

// Folder dialogs' titles
inline constexpr const char* kModFolderTitle = "Choose the mod's folder (the files go into its anims and unitpics)";
inline constexpr const char* kFramesFolderTitle = "Choose a folder for the frames";

// The GAF viewer
inline constexpr const char* kViewerTitle = "%1 - GAF file";
inline constexpr const char* kExportFramesCaption = "&Export frames as PNG...";
inline constexpr const char* kUnnamedEntry = "(no name)";
inline constexpr const char* kFrameItem = "Frame %1 (%2 x %3)";

// Picture box tooltips: a loaded picture's box names its file; these are made by the program.
inline constexpr const char* kMadeByGeneration = "(made by automatic generation)";
// The status bar's passing note after a load; %1 is the file's name without its folder.
inline constexpr const char* kLoadedNote = "Loaded %1";
// The reason below "The .GAF file could not be written." for a unit name; %1 is the first
// character the game's code page lacks.
inline constexpr const char* kUnstorableName =
    "The unit name has %1, a character the game cannot store. Use only Western European letters, digits and "
    "signs (Windows-1252).";

// File dialog settings
inline constexpr const char* kBmpFilter = "BMP files (*.bmp)|*.bmp";
inline constexpr const char* kPcxFilter = "PCX files (*.pcx)|*.pcx";
inline constexpr const char* kGafFilter = "GAF files (*.gaf)|*.gaf";
inline constexpr const char* kGadgetSuffix = "_GADGET.GAF";
// Saving a picture: the BMP filter first, as it always was, then the other two writers.
inline constexpr const char* kSavePictureFilter =
    "BMP files (*.bmp)|*.bmp|PCX files (*.pcx)|*.pcx|PNG files (*.png)|*.png";
inline constexpr const char* kImportFilter =
    "PNG files (*.png)|*.png|JPEG files (*.jpg *.jpeg)|*.jpg;*.jpeg|BMP files (*.bmp)|*.bmp|PCX files (*.pcx)|*.pcx|"
    "All files (*)|*";
inline constexpr const char* kImportDefaultExt = "png";

// Importing a picture of any size and kind. The undo step's name; the message of a failed
// import, whose reason goes below it; the status bar's note after an import, %1 the file's name
// without its folder and %2 the conversion report as iconwright-cli prints it.
inline constexpr const char* kImportStep = "Import picture";
inline constexpr const char* kImportFailed = "The picture could not be imported.";
inline constexpr const char* kImportedNote = "Imported %1: %2";

// Messages
inline constexpr const char* kBadPicture = CommandMessages::kBadPicture;
inline constexpr const char* kSaveFailed = CommandMessages::kPictureNotSaved;
inline constexpr const char* kGafFailed = CommandMessages::kGafNotWritten;
inline constexpr const char* kTaskFailed = CommandMessages::kTaskFailed;
inline constexpr const char* kDone = "Done! Go to the Operations menu and see how your menu looks and to save a .GAF";
inline constexpr const char* kDoneTitle = "Information";
inline constexpr const char* kUnitNamePrompt = "Please enter the UNITNAME (ie, CORKROG, ARMCAMP, etc) of your unit";
inline constexpr const char* kUnitNameTitle = "Enter your unit name";
inline constexpr const char* kNoUnitName = CommandMessages::kNoUnitName;
inline constexpr const char* kGafNotOpened = "The .GAF file could not be opened.";
inline constexpr const char* kUnitNotExported = "The unit's files could not be written.";
inline constexpr const char* kUnitExported = "The unit's files were written:";
inline constexpr const char* kFramesNotWritten = "The frames could not all be written.";
inline constexpr const char* kWritingFrames = "Writing the frames as PNG files...";
inline constexpr const char* kFramesCancelled = "The export of the frames was cancelled.";
// How many frame files were written and where; one file in the singular.
inline constexpr const char* kFramesWritten = "%1 PNG files were written to %2.";
inline constexpr const char* kOneFrameWritten = "1 PNG file was written to %1.";
inline constexpr const char* kFramesWrittenBefore = "%1 PNG files were written before it.";
inline constexpr const char* kOneFrameWrittenBefore = "1 PNG file was written before it.";
inline constexpr const char* kQuitQuestion = "Are you sure you want to quit (unsaved changes will be lost)";
inline constexpr const char* kQuitTitle = "Exit Iconwright";

// About page: the maker and the two authors (names and addresses of this build's own choosing)
inline constexpr const char* kMakerWebPage = "https://www.example.org/orbit/";
inline constexpr const char* kCredits = "By Ren Halloway and Ivo";
inline constexpr const char* kFirstAuthor = "Ren Halloway";
inline constexpr const char* kFirstAuthorMail = "ren.halloway@example.org";
inline constexpr const char* kSecondAuthor = "Ivo";
inline constexpr const char* kSecondAuthorMail = "ivo@example.org";
inline constexpr const char* kMailSubject = "?subject=Iconwright";
inline constexpr const char* kNote =
    "NOTE: Once you have opened the first .BMP or .PCX file, ORBIT Iconwright can automatically generate the "
    "highlighted and disabled pictures for you, or you can import your own. Simply press the button below to "
    "auto generate.";
inline constexpr const char* kDescription =
    "Iconwright is designed to assist you in generating high quality build menu icons for your units. Features "
    "include Cavedog style borders, import of 96x96 PCX files and the ability to simply import the 'Normal' menu "
    "icon and let the program do the rest. Once completed, simply move to the Operations tab and choose to Save "
    "the results as a .GAF file in your unit's \\ANIMS\\ directory. Check out for updates at the ORBIT Website.";

}  // namespace AppTexts
