#pragma once
// The window as the program shows it: Qt's file dialog, message boxes, input boxes, the import
// options dialog and desktop links, every dialog a child of the window.

#include <memory>

class frmMain;

std::unique_ptr<frmMain> MakeQtMainWindow();
