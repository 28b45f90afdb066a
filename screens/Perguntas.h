#pragma once
// The question editor: browse, insert, edit, save, cancel, delete and search the question bank,
// and choose a photo per question.
#include "platform/ScreenWindow.h"
#include "store/bank/BankPhotos.h"
#include "store/bank/QuestionCheck.h"

#include <QStringList>
#include <memory>

class Bank;
class DBEdit;
class Navigator;
class DBNavigator;
class PhotoPrefetch;
class PictureBox;
class QAction;
class QPushButton;
class Query;
class Table;

class TFrmCadastro : public ScreenWindow {
    Q_OBJECT
public:
    // The editor of the questions of `bank`, the bank in use, until a login hands it another.
    TFrmCadastro(std::shared_ptr<Bank> bank, Navigator &navigator, QWidget *parent = nullptr);

    PictureBox *Image1;
    QAction *voltar;
    DBNavigator *DBNav;
    QPushButton *BtnIncluir;
    QPushButton *BtnExcluir;
    QPushButton *BtnEdit;
    QPushButton *BtnGravar;
    QPushButton *BtnCancelar;
    QPushButton *BdLocalizar;
    DBEdit *EdtNumero;
    DBEdit *EdtPerg;
    DBEdit *EdtResp1;
    DBEdit *EdtResp2;
    DBEdit *EdtResp3;
    DBEdit *EdtResp4;
    DBEdit *EdtCorreta;
    PictureBox *ImgCadastro;
    QPushButton *BtnFoto;
    Table *TbPerguntas;

    ~TFrmCadastro() override;

    // The photos of the questions before and after the current one, decoded while it is shown.
    PhotoPrefetch &photoPrefetch() const;

    // Shows the editor after a successful login, its controls in the state of its table: the
    // browse state, or the editing state when a question is still being inserted or edited.
    void OpenEditor();
    // The same, the editor reading and writing the questions at `bank` from now on: on a server,
    // through the administrator's connection that the login made. A question still being
    // inserted or edited stays on the connection it was started on.
    void OpenEditor(std::shared_ptr<Bank> bank);

public slots:
    void DBNavClick();
    void BtnIncluirClick();
    void BtnEditClick();
    void BtnGravarClick();
    void BtnCancelarClick();
    void BtnExcluirClick();
    void BdLocalizarClick();
    void BtnFotoClick();
    void voltarClick();

private:
    // Names and descriptions of the controls for screen readers, and the photo's tab stop.
    void describeForScreenReaders();
    // Says in the navigator's and the photo button's descriptions which question is shown and
    // which photo it has.
    void describeRecord();
    // Sets every control to match the table's mode: browse, or editing (after "^" the button
    // "^" itself stays usable).
    void ShowTableState();
    // Loads the current question's photo into ImgCadastro; an empty bank shows none. Then has the
    // photos of the questions next to it decoded in the background.
    void LoadPhoto();
    void PrefetchNeighbours();
    Question CurrentFields() const;
    // The Foto to store for the photo file `path`, kept by the bank: a copy fitted to the photo
    // box when the photo is much larger than the box and the administrator wants one, else the
    // photo itself. Throws AppError when the bank cannot keep it.
    QString PhotoToStore(const QString &path);
    // Removes the fitted copies made during this insert or edit that the question does not keep:
    // all of them when it is cancelled, all but `kept` when it is saved.
    // Takes away the photos stored during this insert or edit, but `used`.
    void ForgetKeptPhotos(const QString &used = QString());

    Navigator &m_navigator;
    QStringList m_keptPhotos; // stored during this insert or edit
    std::unique_ptr<BankPhotos> m_photos; // of m_bank
    std::shared_ptr<Bank> m_bank; // where TbPerguntas and QueryUltimoNum are open
    std::unique_ptr<Query> QueryUltimoNum; // the largest number stored
    // Decodes the neighbours' photos so that moving through the bank does not wait for them;
    // stopped when the editor is left.
    std::unique_ptr<PhotoPrefetch> Prefetch;
};
