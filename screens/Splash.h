#pragma once
#include "platform/ScreenWindow.h"

// The picture shown while the program starts.
class TFrmSplash : public ScreenWindow {
    Q_OBJECT
public:
    explicit TFrmSplash(QWidget *parent = nullptr);

    class PictureBox *Image1;
};

extern TFrmSplash *FrmSplash;
