#pragma once
// The set of screens: created once at start-up, in a fixed order, and kept until the end, with
// the game session they show and the navigator that shows and hides them.
#include <QString>

class BankLocation;
class GameSession;
class TableQuestionBank;
class TFrmAlterarSenha;
class TFrmCadastro;
class TFrmInicial;
class TFrmInstrucao;
class TFrmPerguntas;
class TFrmResult;
class TFrmSenha;

// The screens under their instance names, while the set exists (null otherwise).
extern TFrmInicial *FrmInicial;
extern TFrmPerguntas *FrmPerguntas;
extern TFrmCadastro *FrmCadastro;
extern TFrmResult *FrmResult;
extern TFrmSenha *FrmSenha;
extern TFrmInstrucao *FrmInstrucao;
extern TFrmAlterarSenha *FrmAlterarSenha;

// The game the screens show; it lives as long as the set.
GameSession &Game();

// Creates the seven screens, hidden, and runs their creation steps. An error in a creation step
// is reported and start-up goes on; a table that cannot be opened is fatal: the screens made so
// far are destroyed and the report's text is returned (empty on success).
QString createScreens();

// Destroys the screens (and with them their tables), in the reverse order.
void destroyScreens();

// The question bank that game reads.
TableQuestionBank &QuestionBankInUse();

// The report for a table that could not be opened at start-up: which file or folder is
// missing, and how to create the data directory.
QString missingDataReport(const QString &engineText);

// The report for a table that another program held during the whole of start-up's short wait.
QString tableInUseReport(const QString &engineText);

// The report for a bank on a server that could not be used at start-up: which server (without
// its password), the engine's reason, and what to check.
QString serverReport(const BankLocation &server, const QString &engineText);
