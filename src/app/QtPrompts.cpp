#include "app/QtPrompts.h"

#include <QInputDialog>
#include <QMessageBox>

namespace {

// Texts use Windows line breaks; Qt's labels want plain ones.
QString DisplayText(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QMessageBox::Icon QtIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information: return QMessageBox::Information;
        case MsgIcon::Warning: return QMessageBox::Warning;
        case MsgIcon::Question: return QMessageBox::Question;
        case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MsgAnswer QtPrompts::MsgBox(const std::string& Text, const std::string& Title, MsgIcon Icon, MsgButtons Buttons,
                            const std::string& Informative) {
    const bool yesNo = Buttons == MsgButtons::YesNo;
    QMessageBox box(QtIcon(Icon), QString::fromStdString(Title), DisplayText(Text),
                    yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, window_);
    if (!Informative.empty()) box.setInformativeText(DisplayText(Informative));
    box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    const int pressed = box.exec();
    if (!yesNo) return MsgAnswer::OK;
    return pressed == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

std::string QtPrompts::InputBox(const std::string& Prompt, const std::string& Title, const std::string& Default) {
    bool accepted = false;
    const QString answer = QInputDialog::getText(window_, QString::fromStdString(Title), DisplayText(Prompt),
                                                 QLineEdit::Normal, QString::fromStdString(Default), &accepted);
    return accepted ? answer.toStdString() : std::string();
}
