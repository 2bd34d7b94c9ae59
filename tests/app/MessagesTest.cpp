// The window's message boxes: for each place that shows one, its title, icon and texts, with the
// reason beneath (a picture of the wrong size, a unit name the game cannot store and the unit
// exported: QtDialogsTest, which also tells warnings apart). A refused command changes no slot and adds no
// step; refusals of a file or a name carry the Warning icon, loads and imports alike.

#include <QUndoStack>

#include <array>

#include "WindowTestSupport.h"
#include "app/AppTexts.h"
#include "picture/CrossSizeText.h"
#include "support/PictureEncoders.h"

using namespace apptest;

TEST_F(WindowTest, EachMessageBoxShowsItsTitleIconAndTexts) {
    const std::string good = dir.file("good.bmp"), photo = dir.file("photo.png");
    WritePatternBmp(good, 96, 96, 3);
    WritePatternBmp(dir.file("narrow.bmp"), 95, 96, 4);
    testsupport::WriteBytes(dir.file("bad.gaf"), {1, 2, 3, 4, 5});
    testsupport::WriteBytes(dir.file("junk.png"), {'h', 'e', 'l', 'l', 'o'});
    testsupport::WriteBytes(dir.file("taken"), {1});  // a file where the mod's folder should be
    testsupport::WriteBytes(photo, pictureencode::EncodeRgbaPng({1, 1, {1, 2, 3, 255}}));
    ImportChoices strict;
    strict.Settings.Strict = true;
    using M = MsgIcon;
    using namespace AppTexts;
    const std::string program = kProgramTitle, noGaf = kGafFailed, noFiles = kUnitNotExported,
                      notWritten = " could not be written (the folder " + dir.file("no") +
                                   ": No such file or directory). Choose another folder or file name, or free some "
                                   "space.";
    const struct {
        std::function<void()> Act;
        std::string Title;
        MsgIcon Icon;
        std::string Text, Reason;
    } rows[] = {
        {[&] { Click("Command1", good), Click("Command28"); }, kDoneTitle, M::Information,
         "Done! Go to the Operations menu and see how your menu looks and to save a .GAF", ""},
        {[&] { prompts->InputAnswers = {"abc"}, Click("Command20"); }, program, M::Information, kNotANumberMessage, ""},
        {[&] { Click("Command17", dir.file("no/saved.bmp")); }, program, M::Warning, kSaveFailed,
         "saved.bmp" + notWritten},
        {[&] { std::filesystem::remove(good), Click("Command28"); }, program, M::None, kTaskFailed,
         "good.bmp cannot be opened (No such file or directory). Check that the file is there and readable."},
        {[&] { Click("Command9", dir.file("narrow.bmp")); }, program, M::Warning, kBadPicture,
         "narrow.bmp is a BMP picture. Use Load BMP to load it."},
        {[&] { prompts->InputAnswers = {""}, Click("Command26"); }, program, M::None, kNoUnitName, ""},
        {[&] { prompts->InputAnswers = {"a"}, Click("Command26", dir.file("no/a.gaf")); }, program, M::Warning, noGaf,
         "a.gaf" + notWritten},
        {[&] { prompts->InputAnswers = {"arm/camp"}, Command("Export unit...")->trigger(); }, program, M::Warning,
         noFiles,
         "The unit name has \"/\", which a unit name cannot hold: it would make a sub-path or an entry the game "
         "cannot name."},
        {[&] {
             prompts->InputAnswers = {"a"}, dialog->Choose(dir.file("taken")), Command("Export unit...")->trigger();
         },
         program, M::Warning, noFiles,
         dir.file("taken") + "/anims/a_GADGET.GAF could not be written (the folder " + dir.file("taken") +
             "/anims: Not a directory); " + dir.file("taken") + "/unitpics/A.PCX was not written either."},
        {[&] { dialog->Choose(dir.file("bad.gaf")), Command("Open GAF...")->trigger(); }, program, M::Warning,
         kGafNotOpened, "Not a GAF file: it starts with 0x04030201, not the version 0x00010100."},
        {[&] { dialog->Choose(dir.file("junk.png")), Command("Import picture...")->trigger(); }, program, M::Warning,
         kImportFailed, "junk.png is not a picture file Iconwright knows (BMP, PCX, PNG or JPEG)."},
        {[&] { dialog->Choose(photo), importOptions->Ok(strict), Command("Import picture...")->trigger(); }, program,
         M::Warning, kImportFailed, "photo.png: pixel 0,0 is #010203, which is not a game colour."},
        {[&] { prompts->MsgAnswers = {MsgAnswer::No}, Command("Exit")->trigger(); }, kQuitTitle, M::Question,
         kQuitQuestion, ""}};
    ShowPage(frmMain::kNormalPage);
    rows[0].Act();
    for (const auto& row : rows) {
        const int steps = window->UndoStack()->count();
        const std::array<Picture, 3> kept{Slot(0), Slot(1), Slot(2)};
        if (&row != rows) row.Act();
        ASSERT_EQ(prompts->Messages.size(), 1u) << row.Text;
        const ShownMessage m = prompts->Messages[0];
        prompts->Messages.clear();
        EXPECT_EQ(std::tuple(m.Title, m.Icon, m.Text, m.Informative),
                  std::tuple(row.Title, row.Icon, row.Text, row.Reason));
        if (&row == rows) continue;
        EXPECT_EQ(window->UndoStack()->count(), steps) << row.Text;
        EXPECT_TRUE((std::array<Picture, 3>{Slot(0), Slot(1), Slot(2)}) == kept) << row.Text;
    }
}
