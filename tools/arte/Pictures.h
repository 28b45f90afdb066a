#pragma once
// One function per background picture. Positions are picture pixels: the screens draw the
// picture unscaled from the top-left corner of their client area and place their controls
// on top of it, so the places below match the controls of each screen.

#include <QImage>

namespace arte {

QImage paintSplash();     // 597 x 390, shown stretched to exactly that size
QImage paintInicial();    // start screen
QImage paintPerguntas();  // question screen
QImage paintResultado();  // results screen
QImage paintCadastro();   // question editor
QImage paintInstrucoes(); // instructions, shown 8 pixels higher than the others

} // namespace arte
