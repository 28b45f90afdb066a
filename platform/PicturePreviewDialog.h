#pragma once
// The picture file dialog: Qt's own (non-native) file dialog listing the picture types the game
// reads, with a preview of the selected picture beside the file list.
#include <QString>

class QWidget;

// Shows the dialog modally; returns the chosen file's full path, or the empty text on Cancel.
QString choosePictureFile(QWidget *parent);
