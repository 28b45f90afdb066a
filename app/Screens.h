#pragma once
// The set of screens: created once at start-up, in a fixed order, and kept until the end, with
// the game session they show and the navigator that shows and hides them.
#include <QString>

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

// Creates the seven screens over the bank in use, hidden, and runs their creation steps. An error
// in a creation step is reported and start-up goes on; a table that cannot be opened is fatal:
// the screens made so far are destroyed and the bank's report of it is returned (empty on
// success).
QString createScreens();

// Destroys the screens (and with them their tables), in the reverse order.
void destroyScreens();

// The question bank that game reads.
TableQuestionBank &QuestionBankInUse();
