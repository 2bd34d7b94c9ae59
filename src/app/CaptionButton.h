#pragma once
// A push button whose caption wraps onto several lines, as the tall effect buttons need, with
// an optional small picture beside it. text() stays the caption exactly as given, so the
// access key after '&' works as on any QPushButton.

#include <QPushButton>

class CaptionButton : public QPushButton {
    Q_OBJECT
public:
    explicit CaptionButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
