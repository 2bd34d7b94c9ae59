// Files dropped on the window's pages: a GAF file opens in a viewer wherever it lands; the first
// local picture among the files is imported into the picture page it lands on; nothing else is
// taken.

#include "WindowTestSupport.h"
#include "app/GafViewer.h"
#include "support/GafBuilder.h"

using namespace apptest;

TEST_F(WindowTest, DropsOpenGafFilesAndImportPicturesIntoTheirPage) {
    const std::string gadget = dir.file("armcamp.GAF"), photo = dir.file("photo.png");
    testsupport::WriteBytes(gadget, gafbuild::Build({{.Name = "A", .Frames = {gafbuild::Raw(1, 1, {7})}}}).Bytes);
    WritePatternPng(photo, 20, 10, 3);
    const auto viewers = [this] { return window->findChildren<GafViewer*>().size(); };
    const std::tuple<int, QList<QUrl>, bool, qsizetype, std::size_t> rows[] = {
        // page, files, taken, viewers open and import options asked after it
        {2, {QUrl(QStringLiteral("https://example.org/photo.png"))}, false, 0, 0},
        {2, {}, false, 0, 0},
        {frmMain::kOperationsPage, {Local(photo)}, false, 0, 0},
        {frmMain::kAboutPage, {Local(photo)}, false, 0, 0},
        {frmMain::kHighlightedPage, {Local(gadget)}, true, 1, 0},
        {frmMain::kAboutPage, {Local(gadget)}, true, 2, 0},
        {2, {Local(dir.file("icon.GAF")), Local(photo)}, true, 2, 1}};
    importOptions->Ok({});
    for (const auto& [page, urls, taken, open, asked] : rows) {
        EXPECT_EQ(Drop(page, urls), taken) << page;
        EXPECT_EQ(std::pair(viewers(), importOptions->Asked.size()), std::pair(open, asked)) << page;
    }
    EXPECT_EQ(window->findChildren<GafViewer*>().back()->Filename(), gadget);
    EXPECT_EQ(importOptions->Asked[0].File, photo);
    EXPECT_TRUE(Slot(0) == Reference(0) && Slot(1) == Reference(1));
    EXPECT_EQ(Slot(2), Reference(2, [&](classUnitGAF& u) { ASSERT_TRUE(u.ImportPicture(photo, 2, {})); }));
}
