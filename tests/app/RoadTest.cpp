// The whole road of a typical piece of work, in the window, against the same steps done by
// iconwright-cli: the two GAF files must be identical byte for byte.

#include <QProcess>
#include <QStringList>

#include "WindowTestSupport.h"
#include "gaf/GafFile.h"
#include "support/TestFiles.h"

namespace apptest {
namespace {

using Road = WindowTest;

TEST_F(Road, WindowWritesTheSameGafAsTheCommandLineTool) {
    const std::string picture = dir.file("armcamp.bmp");
    WritePatternBmp(picture, 96, 96, 41);
    const std::string windowGaf = dir.file("window_GADGET.GAF");
    const std::string cliGaf = dir.file("cli_GADGET.GAF");

    window->SSTab1()->setCurrentIndex(frmMain::kNormalPage);
    dialog->Choose(picture);
    Click("Command1");   // Load BMP into the normal picture
    Click("Command4");   // Cavedog style border
    Click("Command28");  // highlighted and disabled from the file
    window->SSTab1()->setCurrentIndex(frmMain::kOperationsPage);
    EXPECT_EQ(Progress(), 100);
    prompts->InputAnswers = {"armcamp"};
    dialog->Choose(windowGaf);
    Click("Command26");
    EXPECT_EQ(Message(), "Completed");
    ASSERT_EQ(MessageTexts().size(), 1u) << "only the generation's Done message";

    QProcess cli;
    cli.start(QStringLiteral(IW_CLI_PATH),
              QStringList{"--unit", "armcamp", "--load-bmp", "normal", QString::fromStdString(picture), "--border",
                          "normal", "--auto", QString::fromStdString(picture), "--write-gaf",
                          QString::fromStdString(cliGaf)});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();

    const std::vector<uint8_t> fromWindow = testsupport::ReadBytes(windowGaf);
    EXPECT_EQ(fromWindow.size(), gaf::kGadgetFileSize);
    EXPECT_EQ(fromWindow, testsupport::ReadBytes(cliGaf));
}

}  // namespace
}  // namespace apptest
