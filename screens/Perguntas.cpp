#include "screens/Perguntas.h"

#include "platform/Accessibility.h"
#include "platform/DBEdit.h"
#include "platform/DBNavigator.h"
#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"
#include "platform/PhotoPrefetch.h"
#include "platform/PhotoFit.h"
#include "platform/PictureBox.h"
#include "platform/Pictures.h"
#include "screens/Navigator.h"
#include "screens/QuestionFit.h"
#include "store/core/AppError.h"
#include "store/bank/Bank.h"
#include "store/bank/QuestionBank.h"
#include "store/bank/QuestionCheck.h"
#include "store/tables/TableEngine.h"
#include "store/core/Win1252.h"

#include <QAction>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>


namespace {

const QString NotSavedIntro = QStringLiteral("A pergunta não pode ser gravada:");
const QString NotSavedOutro =
    QStringLiteral("Complete a pergunta e clique em \"OK\", ou clique em \"X\" para cancelar.");

QPushButton *barButton(const QString &name, const QString &caption, const QRect &geometry, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

// A hint is kept with the button but not shown: hints are not switched on for this screen.
void setHint(QPushButton *button, const QString &hint)
{
    button->setProperty("hint", hint);
}

} // namespace

TFrmCadastro::TFrmCadastro(std::shared_ptr<Bank> bank, Navigator &navigator, QWidget *parent)
    : ScreenWindow(QStringLiteral("FrmCadastro"),
                   QStringLiteral("0RB1T4 & CR1ST4L: JORNADA DO SABER - CADASTRO"), QSize(800, 500), parent),
      m_navigator(navigator), m_bank(std::move(bank))
{
    menuBar()->setObjectName(QStringLiteral("MenuCad"));
    voltar = addMenuItem(QStringLiteral("voltar"), QStringLiteral("&Voltar"));
    Image1 = addBackground(QStringLiteral(":/cadastro.jpg"));

    // The table comes first: the bound controls take their field sizes from it.
    TbPerguntas = new Table(this);
    TbPerguntas->setObjectName(QStringLiteral("TbPerguntas"));
    TbPerguntas->open(*m_bank, QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
    QueryUltimoNum = std::make_unique<Query>(m_bank);

    // The background picture has the frames and the captions of the controls at these places.
    QWidget *area = content();
    // While browsing, the boxes are disabled but must stay easy to read.
    area->setStyleSheet(QStringLiteral("QLineEdit:disabled { color: #34344a; background: #e4e4ee; }"));
    DBNav = new DBNavigator(TbPerguntas, area);
    DBNav->setObjectName(QStringLiteral("DBNav"));
    DBNav->move(20, 58);
    DBNav->setHintsShown(false);

    BtnIncluir = barButton(QStringLiteral("BtnIncluir"), QStringLiteral("+"), {140, 58, 32, 26}, area);
    BtnExcluir = barButton(QStringLiteral("BtnExcluir"), QStringLiteral("-"), {174, 58, 32, 26}, area);
    BtnEdit = barButton(QStringLiteral("BtnEdit"), QStringLiteral("^"), {208, 58, 32, 26}, area);
    BtnGravar = barButton(QStringLiteral("BtnGravar"), QStringLiteral("OK"), {242, 58, 32, 26}, area);
    BtnCancelar = barButton(QStringLiteral("BtnCancelar"), QStringLiteral("X"), {276, 58, 32, 26}, area);
    BdLocalizar = barButton(QStringLiteral("BdLocalizar"), QStringLiteral("Localizar"), {340, 58, 90, 26}, area);
    setHint(BtnIncluir, QStringLiteral("Incluir"));
    setHint(BtnExcluir, QStringLiteral("Excluir"));
    setHint(BtnEdit, QStringLiteral("Editar"));
    setHint(BtnGravar, QStringLiteral("Gravar"));
    setHint(BtnCancelar, QStringLiteral("Cancelar"));

    auto box = [&](const char *name, QuestionColumn column, int y, int width) {
        auto *edit = new DBEdit(TbPerguntas, questionField(column).name, area);
        edit->setObjectName(QLatin1String(name));
        edit->setGeometry(158, y, width, 24);
        return edit;
    };
    EdtNumero = box("EdtNumero", QuestionColumn::Id, 108, 60);
    EdtPerg = box("EdtPerg", QuestionColumn::Pergunta, 143, 420);
    EdtResp1 = box("EdtResp1", QuestionColumn::Resp1, 178, 420);
    EdtResp2 = box("EdtResp2", QuestionColumn::Resp2, 213, 420);
    EdtResp3 = box("EdtResp3", QuestionColumn::Resp3, 248, 420);
    EdtResp4 = box("EdtResp4", QuestionColumn::Resp4, 283, 420);
    EdtCorreta = box("EdtCorreta", QuestionColumn::Correta, 318, 420);
    // The number is given by the system, never typed.
    EdtNumero->keepReadOnly();

    ImgCadastro = new PictureBox(area, PictureBox::Placement::Centre);
    ImgCadastro->setObjectName(QStringLiteral("ImgCadastro"));
    ImgCadastro->setGeometry(610, 108, 137, 177);
    Prefetch = std::make_unique<PhotoPrefetch>(ImgCadastro->size(), *m_bank);
    m_photos = m_bank->photos(PhotoThread::Screens);
    BtnFoto = barButton(QStringLiteral("BtnFoto"), QStringLiteral("Selecionar foto"), {610, 305, 137, 26}, area);

    describeForScreenReaders();
    QWidget *tabOrder[] = {DBNav,      EdtPerg,    EdtResp1,   EdtResp2,    EdtResp3,
                           EdtResp4,   EdtCorreta, EdtNumero,  BtnFoto,     ImgCadastro,
                           BtnIncluir, BtnGravar,  BtnCancelar, BtnExcluir, BtnEdit,
                           BdLocalizar};
    for (size_t i = 0; i + 1 < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i], tabOrder[i + 1]);

    connectHandler(DBNav, &DBNavigator::clicked, this, &TFrmCadastro::DBNavClick);
    connectHandler(BtnIncluir, &QPushButton::clicked, this, &TFrmCadastro::BtnIncluirClick);
    connectHandler(BtnEdit, &QPushButton::clicked, this, &TFrmCadastro::BtnEditClick);
    connectHandler(BtnGravar, &QPushButton::clicked, this, &TFrmCadastro::BtnGravarClick);
    connectHandler(BtnCancelar, &QPushButton::clicked, this, &TFrmCadastro::BtnCancelarClick);
    connectHandler(BtnExcluir, &QPushButton::clicked, this, &TFrmCadastro::BtnExcluirClick);
    connectHandler(BdLocalizar, &QPushButton::clicked, this, &TFrmCadastro::BdLocalizarClick);
    connectHandler(BtnFoto, &QPushButton::clicked, this, &TFrmCadastro::BtnFotoClick);
    connectHandler(voltar, &QAction::triggered, this, &TFrmCadastro::voltarClick);
    ShowTableState();
}

TFrmCadastro::~TFrmCadastro() = default;

PhotoPrefetch &TFrmCadastro::photoPrefetch() const
{
    return *Prefetch;
}

// ---------------------------------------------------------------------------------------------
// Helpers

void TFrmCadastro::ShowTableState()
{
    const Table::State state = TbPerguntas->state();
    const bool editing = state != Table::State::Browse;
    const QList<QWidget *> browsing = {BtnIncluir, BtnExcluir, DBNav};
    // The boxes stay enabled while browsing: read-only, they still take the focus and are read.
    const QList<QWidget *> editingOnly = {BtnGravar, BtnCancelar, BtnFoto};
    for (QWidget *w : browsing)
        w->setEnabled(!editing);
    for (QWidget *w : editingOnly)
        w->setEnabled(editing);
    // "^" stays usable while editing a stored question, not while inserting a new one.
    BtnEdit->setEnabled(state != Table::State::Insert);
    // The photo chosen while editing is shown once the question is saved.
    ImgCadastro->setVisible(!editing);
}

void TFrmCadastro::describeForScreenReaders()
{
    Accessibility::describe(Image1, QStringLiteral("Fundo do cadastro de perguntas"));
    Accessibility::describe(DBNav, QStringLiteral("Navegação entre as perguntas"));
    // The bar's buttons show signs ("+", "^"); they are read by their hints.
    const std::pair<QPushButton *, const char *> bar[] = {
        {BtnIncluir, "Começa uma pergunta nova."},
        {BtnExcluir, "Exclui a pergunta mostrada, depois de confirmar."},
        {BtnEdit, "Altera a pergunta mostrada."},
        {BtnGravar, "Grava a pergunta incluída ou alterada."},
        {BtnCancelar, "Desfaz a inclusão ou a alteração."},
    };
    for (const auto &[button, description] : bar)
        Accessibility::describe(button, button->property("hint").toString(), QString::fromUtf8(description));
    Accessibility::describe(BdLocalizar, QStringLiteral("Localizar"),
                            QStringLiteral("Procura a pergunta cujo texto começa pelo termo digitado."));
    const std::pair<DBEdit *, const char *> boxes[] = {
        {EdtNumero, "Número da pergunta"}, {EdtPerg, "Pergunta"},     {EdtResp1, "Resposta 1"},
        {EdtResp2, "Resposta 2"},          {EdtResp3, "Resposta 3"},  {EdtResp4, "Resposta 4"},
        {EdtCorreta, "Resposta correta"},
    };
    for (const auto &[box, name] : boxes)
        box->setAccessibleName(QString::fromUtf8(name));
    EdtNumero->setAccessibleDescription(QStringLiteral("Dado pelo sistema ao incluir uma pergunta."));
    EdtCorreta->setAccessibleDescription(
        QStringLiteral("O texto da resposta certa, igual ao de uma das quatro respostas."));
    // The photo box is a tab stop that names the file it shows.
    Accessibility::nameFromContent(ImgCadastro, [this] {
        const QString file = ImgCadastro->fileName();
        if (file.isEmpty())
            return QStringLiteral("Foto: nenhuma");
        const QString name = QFileInfo(file).fileName();
        const QString shows = pictureDescription(ImgCadastro->picture(), file);
        return QStringLiteral("Foto: ") + (shows == name ? name : name + QStringLiteral(". ") + shows);
    });
    ImgCadastro->setFocusPolicy(Qt::TabFocus);
    describeRecord();
    // The navigator's buttons say which question is shown, and the photo button which photo the
    // question has: a screen reader reads the new name of the button just pressed.
    connect(TbPerguntas, &Table::recordChanged, this, &TFrmCadastro::describeRecord);
}

void TFrmCadastro::describeRecord()
{
    QString shown = QStringLiteral("Nenhuma pergunta cadastrada.");
    QString photo = QStringLiteral("Nenhuma foto escolhida.");
    if (TbPerguntas->hasRecord() || TbPerguntas->state() != Table::State::Browse) {
        shown = EdtPerg->text().isEmpty()
                    ? QStringLiteral("Mostrando a pergunta número %1, ainda sem texto.").arg(EdtNumero->text())
                    : QStringLiteral("Mostrando a pergunta número %1: %2").arg(EdtNumero->text(), EdtPerg->text());
        const QString path = TbPerguntas->fieldText(QStringLiteral("Foto"));
        if (!path.isEmpty())
            photo = QStringLiteral("Foto escolhida: ") + path;
    }
    for (auto which : {DBNavigator::Button::First, DBNavigator::Button::Prior, DBNavigator::Button::Next,
                       DBNavigator::Button::Last}) {
        QToolButton *button = DBNav->button(which);
        button->setAccessibleName(button->property("hint").toString() + QStringLiteral(". ") + shown);
    }
    BtnFoto->setAccessibleDescription(photo);
}

void TFrmCadastro::LoadPhoto()
{
    if (!TbPerguntas->hasRecord()) {
        ImgCadastro->clear();
        return;
    }
    const QString path = TbPerguntas->fieldText(QStringLiteral("Foto"));
    QImage picture;
    try {
        picture = Prefetch->take(path);
    } catch (const AppError &) {
        // The photo of the question shown before would pass for this one's.
        ImgCadastro->clear();
        PrefetchNeighbours();
        throw;
    }
    ImgCadastro->setPicture(picture, path);
    PrefetchNeighbours();
}

void TFrmCadastro::PrefetchNeighbours()
{
    QStringList paths;
    try {
        // The one on screen is listed too: it is kept for moving back to it.
        paths << TbPerguntas->neighbourText(true, QStringLiteral("Foto"))
              << TbPerguntas->neighbourText(false, QStringLiteral("Foto"));
        if (TbPerguntas->hasRecord())
            paths << TbPerguntas->fieldText(QStringLiteral("Foto"));
    } catch (const AppError &e) {
        // A bank that cannot be read now: each photo is read, and any error reported, when shown.
        qWarning().noquote() << QStringLiteral("As fotos vizinhas não serão preparadas de antemão: %1").arg(e.text());
    }
    Prefetch->prefetch(paths);
}

Question TFrmCadastro::CurrentFields() const
{
    Question question;
    for (QuestionColumn column : QuestionTexts)
        question.text(column) = TbPerguntas->fieldText(questionField(column).name);
    return question;
}

// ---------------------------------------------------------------------------------------------
// Opening and handlers

void TFrmCadastro::OpenEditor()
{
    showScreen();
    // A question left pending by "&Voltar" is still being inserted or edited: the controls
    // show that, so it can be saved or cancelled.
    ShowTableState();
    if (TbPerguntas->state() == Table::State::Browse)
        LoadPhoto();
}

void TFrmCadastro::OpenEditor(std::shared_ptr<Bank> bank)
{
    if (!bank->sameAs(*m_bank) && TbPerguntas->state() == Table::State::Browse) {
        TbPerguntas->open(*bank, QStringLiteral("Perguntas.DB"), questionFields(), QStringLiteral("Id"));
        QueryUltimoNum = std::make_unique<Query>(bank);
        Prefetch->useBank(*bank);
        m_photos = bank->photos(PhotoThread::Screens);
        m_bank = std::move(bank);
    }
    OpenEditor();
}

void TFrmCadastro::DBNavClick()
{
    LoadPhoto();
}

void TFrmCadastro::BtnIncluirClick()
{
    // The number is found first, so that a failure leaves no new record behind.
    const qint32 number = nextQuestionNumber(*QueryUltimoNum);
    TbPerguntas->append();
    // The box writes the number into the record's Id, which the save stores.
    EdtNumero->setText(QString::number(number));
    ShowTableState();
    EdtPerg->setFocus();
}

void TFrmCadastro::BtnEditClick()
{
    if (TbPerguntas->state() == Table::State::Browse && !TbPerguntas->hasRecord()) {
        Dialogs::warn(QStringLiteral("Não há pergunta para editar. Use \"+\" para incluir uma nova."));
        return;
    }
    TbPerguntas->edit();
    ShowTableState();
    EdtPerg->setFocus();
}

void TFrmCadastro::BtnGravarClick()
{
    // 1. A question the game cannot play is not saved; everything typed stays for completing.
    const Question fields = CurrentFields();
    const QStringList problems = questionProblems(fields);
    if (!problems.isEmpty()) {
        Dialogs::warn(NotSavedIntro + QStringLiteral("\n- ") + problems.join(QStringLiteral(";\n- "))
                      + QStringLiteral(".\n\n") + NotSavedOutro);
        return;
    }
    // 2. A refused write ends here, the record still being inserted or edited.
    const QStringList shortened = QuestionFit::warnings(fields);
    TbPerguntas->post();
    ForgetKeptPhotos(fields.foto);
    // 3. Back to browsing, with the photo of the question just saved. Saved all the same, a text
    // that the question screen shows shortened is a warning (said first: the photo may fail).
    ShowTableState();
    if (!shortened.isEmpty())
        Dialogs::warn(QStringLiteral("A pergunta foi gravada, mas não aparece inteira na tela de perguntas:\n- ")
                      + shortened.join(QStringLiteral(";\n- "))
                      + QStringLiteral(".\n\nO jogador vê o texto encurtado, com reticências (um leitor de tela lê o "
                                       "texto inteiro). Para que apareça inteiro, clique em \"Editar\" e encurte-o."));
    LoadPhoto();
}

void TFrmCadastro::BtnCancelarClick()
{
    TbPerguntas->cancel();
    ForgetKeptPhotos();
    ShowTableState();
    LoadPhoto();
}

void TFrmCadastro::BtnExcluirClick()
{
    if (!TbPerguntas->hasRecord()) {
        Dialogs::warn(QStringLiteral("Não há pergunta para excluir."));
        return;
    }
    if (Dialogs::confirmPlain(QStringLiteral("Deseja realmente excluir o registro?")))
        TbPerguntas->remove();
    ShowTableState();
    LoadPhoto();
}

void TFrmCadastro::BdLocalizarClick()
{
    // Changing the order would end the insert or edit, saving a question that "OK" may refuse;
    // the administrator decides first.
    if (TbPerguntas->state() != Table::State::Browse) {
        Dialogs::warn(QStringLiteral("Grave a pergunta com \"OK\" ou cancele com \"X\" antes de pesquisar."));
        return;
    }
    const QString term = Dialogs::prompt(ApplicationTitle, QStringLiteral("Digite um termo para pesquisa"), 255);
    TbPerguntas->setIndexName(QStringLiteral("IdPergunta"));
    try {
        TbPerguntas->findNearest(term);
    } catch (...) {
        TbPerguntas->setIndexFieldNames(QStringLiteral("id"));
        throw;
    }
    // Number order again; the question found stays current, with its own photo.
    TbPerguntas->setIndexFieldNames(QStringLiteral("id"));
    LoadPhoto();
}

void TFrmCadastro::BtnFotoClick()
{
    const QString path = Dialogs::choosePicture(this);
    if (path.isEmpty())
        return;
    // A path cut or changed on storing would name no file.
    const int size = TbPerguntas->fieldSize(QStringLiteral("Foto"));
    if (path.size() > size) {
        Dialogs::warn(QStringLiteral("O caminho da foto escolhida tem %1 caracteres, mas cabem no máximo %2:\n%3\n\n"
                                     "Copie a foto para uma pasta de caminho mais curto e escolha-a de novo.")
                          .arg(path.size())
                          .arg(size)
                          .arg(path));
        return;
    }
    if (const QString tooLarge = photoSizeProblem(QFileInfo(path).size()); !tooLarge.isEmpty()) {
        Dialogs::warn(QStringLiteral("A foto não foi escolhida: %1.\n%2\n\nEscolha uma foto menor, ou diminua esta "
                                     "num editor de imagens.")
                          .arg(tooLarge, path));
        return;
    }
    if (!fitsWin1252(path)) {
        Dialogs::warn(QStringLiteral("O caminho da foto escolhida tem caracteres que o banco de perguntas não "
                                     "guarda:\n%1\n\nRenomeie a pasta ou o arquivo e escolha a foto de novo.")
                          .arg(path));
        return;
    }
    TbPerguntas->setFieldText(QStringLiteral("Foto"), PhotoToStore(path));
}

QString TFrmCadastro::PhotoToStore(const QString &path)
{
    std::optional<FittedCopy> copy;
    try {
        copy = fittedCopyOf(path);
    } catch (const AppError &) {
        // Kept as chosen: the photo box says why it cannot be shown.
    }
    if (copy) {
        const QString question =
            QStringLiteral("Esta foto tem %1 x %2 pixels, e o quadro da foto mostra só os %3 x %4 pixels do meio dela, "
                           "em tamanho real.\n\nGuardar com as fotos do banco de perguntas uma cópia reduzida, que "
                           "aparece inteira no quadro como ao lado? A foto original não é alterada.\n\nCom \"Não\", a "
                           "pergunta fica com a foto original.")
                .arg(copy->original.width())
                .arg(copy->original.height())
                .arg(PhotoBoxSize.width())
                .arg(PhotoBoxSize.height());
        if (Dialogs::confirmPicture(question, copy->picture)) {
            const KeptPhoto kept = m_photos->keepBytes(copy->name, copy->bytes);
            if (kept.stored)
                m_keptPhotos << kept.foto;
            if (kept.foto.size() <= TbPerguntas->fieldSize(QStringLiteral("Foto")) && fitsWin1252(kept.foto))
                return kept.foto;
            Dialogs::warn(QStringLiteral("A cópia reduzida não pode ser usada: o caminho dela não cabe no banco de "
                                         "perguntas:\n%1\n\nA pergunta fica com a foto original.")
                              .arg(kept.foto));
            ForgetKeptPhotos();
        }
    }
    // On a folder the question names the file where it is; a server keeps a copy of its bytes.
    const KeptPhoto kept = m_photos->keepFile(path);
    if (kept.stored)
        m_keptPhotos << kept.foto;
    return kept.foto;
}

void TFrmCadastro::ForgetKeptPhotos(const QString &used)
{
    for (const QString &photo : std::as_const(m_keptPhotos))
        if (photo != used)
            m_photos->forget(photo);
    m_keptPhotos.clear();
}

void TFrmCadastro::voltarClick()
{
    // A question being inserted or edited stays so; the next opening shows it for saving or
    // cancelling.
    Prefetch->stop();
    close();
    m_navigator.showStart();
}
