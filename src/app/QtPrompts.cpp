#include "app/QtPrompts.h"

#include "app/DialogOwner.h"

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
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton first = QMessageBox::Ok;
    switch (Buttons) {
        case MsgButtons::YesNo: buttons = QMessageBox::Yes | QMessageBox::No, first = QMessageBox::Yes; break;
        case MsgButtons::OKCancel: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
        case MsgButtons::OK: break;
    }
    QWidget* owner = DialogOwner(window_);
    QMessageBox box(QtIcon(Icon), QString::fromStdString(Title), DisplayText(Text), buttons, owner);
    if (!Informative.empty()) box.setInformativeText(DisplayText(Informative));
    box.setDefaultButton(first);
    const int pressed = box.exec();
    // The window the box belonged to has the focus again, whatever the window manager picks.
    if (owner != nullptr && owner->isVisible()) owner->activateWindow();
    switch (pressed) {
        case QMessageBox::Yes: return MsgAnswer::Yes;
        case QMessageBox::No: return MsgAnswer::No;
        case QMessageBox::Cancel: return MsgAnswer::Cancel;
        default:
            return Buttons == MsgButtons::OKCancel && pressed != QMessageBox::Ok ? MsgAnswer::Cancel : MsgAnswer::OK;
    }
}

std::string QtPrompts::InputBox(const std::string& Prompt, const std::string& Title, const std::string& Default) {
    bool accepted = false;
    const QString answer =
        QInputDialog::getText(DialogOwner(window_), QString::fromStdString(Title), DisplayText(Prompt),
                              QLineEdit::Normal, QString::fromStdString(Default), &accepted);
    return accepted ? answer.toStdString() : std::string();
}
