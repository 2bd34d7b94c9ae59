// Builds the window's controls at the positions of the original form: twips / 15 pixels,
// fixed, never laid out again at run time.

#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QStatusBar>
#include <QStyleOptionTabWidgetFrame>
#include <QTabWidget>
#include <QTextLayout>
#include <QVBoxLayout>

#include <cmath>

#include "app/AppArt.h"
#include "app/AppTexts.h"
#include "app/CaptionButton.h"
#include "app/FileDrops.h"
#include "app/FrameBox.h"
#include "app/LinkLabel.h"
#include "app/QtPictureBox.h"
#include "app/StretchedImage.h"
#include "app/frmMain.h"

namespace {

int Px(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }

QRect Twips(int left, int top, int width, int height) { return QRect(Px(left), Px(top), Px(width), Px(height)); }

// Page positions are given relative to the tab control with its tab row; a page widget starts
// below that row, at origin.
QRect OnPage(QPoint origin, int left, int top, int width, int height) {
    return Twips(left, top, width, height).translated(-origin);
}

QFont Verdana(double points, bool bold = false) {
    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif);  // machines without Verdana get their usual sans face
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

class TabControl : public QTabWidget {
public:
    using QTabWidget::QTabWidget;
    // Where the style puts the page widgets inside the tab control, worked out the way the tab
    // widget lays them out.
    QPoint PageOrigin() const {
        QStyleOptionTabWidgetFrame option;
        initStyleOption(&option);
        return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this).topLeft();
    }
};

template <typename Widget>
Widget* Named(Widget* widget, const char* name, QRect geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QGroupBox* Frame(QWidget* parent, const char* caption, const char* name, QRect geometry) {
    return Named(new FrameBox(QString::fromUtf8(caption), parent), name, geometry);
}

CaptionButton* Button(QWidget* parent, const char* caption, const char* name, QRect geometry) {
    return Named(new CaptionButton(QString::fromUtf8(caption), parent), name, geometry);
}

QLabel* Text(QWidget* parent, const char* text, const char* name, QRect geometry) {
    auto* label = Named(new QLabel(QString::fromUtf8(text), parent), name, geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

LinkLabel* Link(QWidget* parent, const char* text, const char* name, QRect geometry, QColor colour) {
    auto* label = Named(new LinkLabel(QString::fromUtf8(text), parent), name, geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    // Opaque, so that the link covers the same words in the text beneath it.
    label->setAutoFillBackground(true);
    return label;
}

// A link label lies over the same words in a text beneath it (an author's name in the credits
// line, the web site at the end of the description). The designed positions fit Verdana; where
// a substitute font sets the words elsewhere, the link moves onto them, so that the words are
// not shown twice side by side.
void PlaceOverWords(QWidget* overlay, const QLabel* base, const QString& words) {
    if (QFontInfo(base->font()).family().compare(QStringLiteral("Verdana"), Qt::CaseInsensitive) == 0) return;
    const QString text = base->text();
    const qsizetype at = text.lastIndexOf(words);
    if (at < 0) return;
    QTextLayout layout(text, base->font());
    QTextOption option;
    option.setWrapMode(base->wordWrap() ? QTextOption::WordWrap : QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(base->contentsRect().width());
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    const QTextLine line = layout.lineForTextPosition(static_cast<int>(at));
    if (!line.isValid()) return;
    overlay->move(base->pos() + QPoint(qRound(line.cursorToX(static_cast<int>(at))), qRound(line.y())));
}

void SetTextColour(QWidget* widget, QColor colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

void SetPicture(CaptionButton* button, const QImage& picture) {
    button->setIcon(QIcon(QPixmap::fromImage(picture)));
    button->setIconSize(picture.size());
}

// Designer names of the controls of the three picture pages, by page.
struct PicturePageNames {
    const char* ImageFrame;
    const char* Box;
    const char* LoadBmp;
    const char* LoadPcx;
    const char* Save;
    const char* EffectsFrame;
    const char* Border;
    const char* Cross;
    const char* Light;
    const char* Grey;
    const char* Grid;
};
constexpr PicturePageNames kPageNames[3] = {
    {"Frame7", "PicUnitpic(0)", "Command1", "Command9", "Command17", "Frame8", "Command4", "Command20", "Command12",
     "Command15", "cmdAddGrid"},
    {"Frame9", "PicUnitpic(1)", "Command2", "Command10", "Command18", "Frame10", "Command31", "Command30", "Command23",
     "Command29", "Command5"},
    {"Frame12", "PicUnitpic(2)", "Command3", "Command11", "Command19", "Frame11", "Command32", "Command33", "Command35",
     "Command34", "Command6"},
};

const QColor kLinkBlue(0, 0, 255);

}  // namespace

void frmMain::BuildControls() {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromUtf8(AppTexts::kCaption));
    setWindowIcon(AppArt::WindowIcon());
    setFont(Verdana(8.25));

    // The client area keeps the fixed size and the controls their fixed places; the menu bar
    // the layout puts above it adds its own height to the window.
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(544, 290);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(client);

    auto* tabs = Named(new TabControl(client), "SSTab1", Twips(0, 0, 8175, 3975));
    tabs_ = tabs;
    const char* tabCaptions[5] = {"&Normal Picture", "&Highlighted Picture", "&Disabled Picture", "&Operations",
                                  "&About"};
    std::array<QWidget*, 5> pages{};
    for (int i = 0; i < 5; ++i) {
        pages[static_cast<std::size_t>(i)] = new QWidget;
        // Pages in the window's own colour, so that the opaque link labels blend in.
        pages[static_cast<std::size_t>(i)]->setAutoFillBackground(true);
        tabs->addTab(pages[static_cast<std::size_t>(i)], QString::fromUtf8(tabCaptions[i]));
    }
    const QPoint origin = tabs->PageOrigin();
    for (int k = 0; k < 3; ++k) BuildPicturePage(k, pages[static_cast<std::size_t>(k)], origin);
    BuildOperationsPage(pages[kOperationsPage], origin);
    BuildAboutPage(pages[kAboutPage], origin);
    tabs->setCurrentIndex(kAboutPage);

    statusBar_ = Named(new QStatusBar(client), "StatusBar", Twips(0, 4080, 8150, 255));
    statusBar_->setSizeGripEnabled(false);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setStyleHint(QFont::SansSerif);
    tahoma.setPointSizeF(8.25);
    statusBar_->setFont(tahoma);
}

void frmMain::BuildPicturePage(int TAPic, QWidget* page, QPoint origin) {
    const PicturePageNames& names = kPageNames[TAPic];
    PicturePage& p = pages_.at(static_cast<std::size_t>(TAPic));

    p.ImageFrame = Frame(page, "Opened Image", names.ImageFrame, OnPage(origin, 120, 720, 7815, 1815));
    p.Box = Named(new QtPictureBox(true, p.ImageFrame), names.Box, Twips(120, 240, 1455, 1455));
    p.LoadBmp = Button(p.ImageFrame, "Load &BMP", names.LoadBmp, Twips(1800, 240, 1455, 375));
    p.LoadPcx = Button(p.ImageFrame, "Load &PCX", names.LoadPcx, Twips(1800, 600, 1455, 375));
    p.Save = Button(p.ImageFrame, "&Save Picture as a BMP file", names.Save, Twips(1800, 1200, 1455, 495));
    if (TAPic == kNormalPage) {
        Text(p.ImageFrame, AppTexts::kNote, "Label7", Twips(3480, 240, 4215, 975));
        command28_ = Button(p.ImageFrame, "&Use this image as the basis for the other two", "Command28",
                            Twips(3480, 1320, 4215, 375));
    }

    p.EffectsFrame =
        Frame(page, "Effects to apply to this image", names.EffectsFrame, OnPage(origin, 120, 2640, 7815, 1215));
    p.Border = Button(p.EffectsFrame, "Add a &Cavedog style border", names.Border, Twips(120, 240, 1575, 855));
    SetPicture(p.Border, AppArt::DiagonalCross());
    p.Cross = Button(p.EffectsFrame, "Add a b&lack cross", names.Cross, Twips(1800, 240, 1575, 855));
    SetPicture(p.Cross, AppArt::OverlappingSquares());
    p.Light =
        Button(p.EffectsFrame, "Make \"l&ight\" (for highlighted picture)", names.Light, Twips(3480, 240, 1455, 855));
    p.Grey = Button(p.EffectsFrame, "Make \"&grey\" (for disabled picture)", names.Grey, Twips(5040, 240, 1335, 855));
    p.Grid = Button(p.EffectsFrame, "Add a grid (for disabled picture)", names.Grid, Twips(6480, 240, 1215, 855));
    // "light" belongs to the highlighted page and "grey" to the disabled page; elsewhere the
    // buttons are shown but can never be used.
    p.Light->setEnabled(TAPic == kHighlightedPage);
    p.Grey->setEnabled(TAPic == kDisabledPage);
}

void frmMain::BuildOperationsPage(QWidget* page, QPoint origin) {
    QGroupBox* frame2 = Frame(page, "Preview the build menu icon here", "Frame2", OnPage(origin, 120, 720, 4815, 1815));
    QGroupBox* frame3 = Frame(frame2, "Normal", "Frame3", Twips(120, 240, 1455, 1455));
    QGroupBox* frame4 = Frame(frame2, "Highlighted", "Frame4", Twips(1680, 240, 1455, 1455));
    // Frame5 sits on the page but lines up as the third frame inside Frame2.
    QGroupBox* frame5 = Frame(page, "Disabled", "Frame5", OnPage(origin, 3360, 960, 1455, 1455));
    const char* previewNames[3] = {"Picture1(0)", "Picture1(1)", "Picture1(2)"};
    QGroupBox* previewFrames[3] = {frame3, frame4, frame5};
    for (int i = 0; i < 3; ++i) {
        previews_.at(static_cast<std::size_t>(i)) =
            Named(new QtPictureBox(false, previewFrames[i]), previewNames[i], Twips(120, 240, 1215, 1095));
    }

    QGroupBox* frame6 = Frame(page, "Actions", "Frame6", OnPage(origin, 120, 2640, 4815, 1215));
    command26_ =
        Button(frame6, "&Write the build menu pictures to a .GAF file", "Command26", Twips(120, 240, 4575, 375));
    command27_ = Button(frame6, "E&xit Iconwright", "Command27", Twips(120, 720, 4575, 375));
    Named(new StretchedImage(AppArt::DecorativeIcon(), page), "Image2", OnPage(origin, 5160, 960, 2655, 2895));
}

void frmMain::BuildAboutPage(QWidget* page, QPoint origin) {
    Named(new StretchedImage(AppArt::DecorativeIcon(), page), "Image1", OnPage(origin, 120, 600, 2055, 1935));

    QLabel* label2 = Text(page, "ORBIT", "Label2", OnPage(origin, 2280, 720, 5055, 975));
    label2->setFont(Verdana(36, true));
    SetTextColour(label2, QColor(224, 224, 224));
    // Drawn over Label2 with a transparent background: created later, so it lies on top.
    QLabel* label3 = Text(page, "Iconwright", "Label3", OnPage(origin, 2520, 960, 4455, 855));
    label3->setFont(Verdana(36, true));

    LinkLabel* label5 = Link(page, AppTexts::kCopyright, "Label5", OnPage(origin, 2640, 1800, 3975, 255),
                             palette().color(QPalette::WindowText));
    label5->setAutoFillBackground(false);
    QLabel* label4 = Text(page, AppTexts::kCredits, "Label4", OnPage(origin, 2640, 2040, 5055, 375));
    label4->setFont(Verdana(14.25, true));
    label4->setWordWrap(false);
    LinkLabel* label1 = Link(page, AppTexts::kFirstAuthor, "Label1", OnPage(origin, 3120, 2040, 2190, 345), kLinkBlue);
    label1->setFont(Verdana(14.25, true));
    LinkLabel* label8 = Link(page, AppTexts::kSecondAuthor, "Label8", OnPage(origin, 6120, 2040, 885, 345), kLinkBlue);
    label8->setFont(Verdana(14.25, true));
    PlaceOverWords(label1, label4, QString::fromUtf8(AppTexts::kFirstAuthor));
    PlaceOverWords(label8, label4, QString::fromUtf8(AppTexts::kSecondAuthor));

    QGroupBox* frame1 = Frame(page, "What the program does", "Frame1", OnPage(origin, 120, 2520, 7815, 1335));
    QLabel* label6 = Text(frame1, AppTexts::kDescription, "Label6", Twips(120, 240, 7575, 975));
    LinkLabel* label9 = Link(frame1, "ORBIT Website", "Label9", Twips(5785, 1025, 1335, 255), kLinkBlue);
    PlaceOverWords(label9, label6, QStringLiteral("ORBIT Website"));

    const std::string web = AppTexts::kMakerWebPage;
    const std::string firstMail = std::string("mailto:") + AppTexts::kFirstAuthorMail + AppTexts::kMailSubject;
    const std::string secondMail = std::string("mailto:") + AppTexts::kSecondAuthorMail + AppTexts::kMailSubject;
    connect(label5, &LinkLabel::clicked, this, [this, web] { OpenLink(web); });
    connect(label9, &LinkLabel::clicked, this, [this, web] { OpenLink(web); });
    connect(label1, &LinkLabel::clicked, this, [this, firstMail] { OpenLink(firstMail); });
    connect(label8, &LinkLabel::clicked, this, [this, secondMail] { OpenLink(secondMail); });
}

void frmMain::ConnectCommands() {
    // A button whose command changes slots: each click that changes them is one undo step,
    // named after the button.
    const auto changesSlots = [this](QPushButton* button, std::initializer_list<int> changing,
                                     std::function<bool()> command) {
        const QString name = button->text().remove(QLatin1Char('&'));
        const std::vector<int> slotList(changing);
        connect(button, &QPushButton::clicked, this,
                [this, name, slotList, command] { RecordSlotChange(name, slotList, command); });
    };
    for (int k = 0; k < 3; ++k) {
        const PicturePage& p = pages_.at(static_cast<std::size_t>(k));
        changesSlots(p.LoadBmp, {k}, [this, k] { return LoadPicture(k, PictureFormat::Bmp); });
        changesSlots(p.LoadPcx, {k}, [this, k] { return LoadPicture(k, PictureFormat::Pcx); });
        connect(p.Save, &QPushButton::clicked, this, [this, k] { SavePicture(k); });
        changesSlots(p.Border, {k}, [this, k] { return AddBorder(k); });
        changesSlots(p.Cross, {k}, [this, k] { return AddCross(k); });
        changesSlots(p.Grid, {k}, [this, k] { return AddGrid(k); });
    }
    // The other pages' light and grey buttons are disabled for good and have no command.
    changesSlots(pages_[kHighlightedPage].Light, {kHighlightedPage}, [this] { return MakeLighter(); });
    changesSlots(pages_[kDisabledPage].Grey, {kDisabledPage}, [this] { return MakeGrey(); });
    changesSlots(command28_, {kHighlightedPage, kDisabledPage}, [this] {
        if (!Command28_Click()) return false;
        ShowSource(kHighlightedPage);
        ShowSource(kDisabledPage);
        return true;
    });
    connect(command26_, &QPushButton::clicked, this, [this] { Command26_Click(); });
    connect(command27_, &QPushButton::clicked, this, [this] { close(); });
    // A picture file dropped onto a picture page is imported into that page's slot. GAF files are
    // build-menu icons, not pictures: the pages leave them to the window.
    const auto isPicture = [](const QString& file) { return !FileDrops::IsGafFile(file); };
    for (int k = 0; k < 3; ++k) {
        FileDrops::Accept(tabs_->widget(k), isPicture, [this, k](const std::string& file) {
            RecordImport(k, [this, k, file] { return ImportInto(k, file); });
        });
    }
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int) {
        const int previous = currentTab_;
        currentTab_ = tabs_->currentIndex();
        UpdateImportCommand();
        SSTab1_Click(previous);
    });
    UpdateImportCommand();
    // A GAF file dropped anywhere on the window opens in the viewer: the picture pages leave GAF
    // files to the window.
    FileDrops::Accept(this, FileDrops::IsGafFile, [this](const std::string& file) { OpenGafFile(file); });
}
