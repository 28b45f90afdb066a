#pragma once
// The question editor: browse, insert, edit, save, cancel, delete and search the question bank,
// and choose a photo per question.
#include "platform/ScreenWindow.h"

class PictureBox;
class QAction;
class Table;

class TFrmCadastro : public ScreenWindow {
    Q_OBJECT
public:
    explicit TFrmCadastro(QWidget *parent = nullptr);

    PictureBox *Image1;
    QAction *voltar;
    Table *TbPerguntas;

    // Shows the editor after a successful login, with its controls in the browse state.
    void OpenEditor();

public slots:
    void voltarClick();
};

extern TFrmCadastro *FrmCadastro;
