#include "Pictures.h"

#include "Texts.h"
#include "Theme.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace arte {

namespace {

const QSize kScreen(800, 500);

QImage canvas(QSize size)
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::black);
    return img;
}

void prepare(QPainter& p)
{
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
}

// Faint orbit lines crossing the sky, echoing the emblem's ring.
void paintOrbitLines(QPainter& p, QPointF centre, qreal rx, qreal ry, qreal tilt)
{
    p.save();
    p.translate(centre);
    p.rotate(tilt);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(120, 200, 255, 46), 1.2));
    p.drawEllipse(QPointF(), rx, ry);
    p.setPen(QPen(QColor(190, 130, 255, 34), 1.0));
    p.drawEllipse(QPointF(), rx * 1.22, ry * 1.3);
    p.restore();
}

// A caption painted over the sky or a panel, light on dark.
void paintCaption(QPainter& p, const QRectF& r, int flags, const QString& text, qreal px = 16)
{
    paintShadowedText(p, r, flags, text, cabin(px, QFont::Bold), cor::textoClaro);
}

} // namespace

QImage paintSplash()
{
    QImage img = canvas(QSize(597, 390));
    QPainter p(&img);
    prepare(p);
    paintSpace(p, img.rect(), 11);

    // Only about 586 x 374 of the picture shows; the frame stays inside that.
    const QRectF frame(8, 8, 570, 358);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 200, 92, 130), 1.4));
    p.drawRoundedRect(frame, 16, 16);
    p.setPen(QPen(QColor(70, 206, 255, 60), 1));
    p.drawRoundedRect(frame.adjusted(5, 5, -5, -5), 12, 12);

    paintTitleArt(p, QRectF(34, 30, 518, 276), TitleLayout::Stacked);

    const QFont versionFont = cabin(14, QFont::DemiBold, 1.2);
    paintShadowedText(p, QRectF(frame.left(), 326, frame.width(), 22), Qt::AlignCenter, texto::versao,
                      versionFont, cor::textoSuave);
    return img;
}

QImage paintInicial()
{
    QImage img = canvas(kScreen);
    QPainter p(&img);
    prepare(p);
    paintSpace(p, img.rect(), 21);
    paintOrbitLines(p, QPointF(585, 190), 300, 96, -16);
    paintPlanet(p, QPointF(560, 1372), 1000);

    paintShootingStar(p, QPointF(70, 150), QPointF(250, 214));
    paintTitleArt(p, QRectF(396, 40, 376, 318), TitleLayout::Stacked);

    paintPanel(p, QRectF(8, 6, 392, 56));   // "Recorde Atual:" and the record line
    paintPanel(p, QRectF(8, 344, 358, 66)); // "Digite seu nome:", the name box and "Jogar"
    return img;
}

QImage paintPerguntas()
{
    QImage img = canvas(kScreen);
    QPainter p(&img);
    prepare(p);
    paintSpace(p, img.rect(), 31);
    paintOrbitLines(p, QPointF(668, 300), 150, 60, -16);

    // The card behind the question and its answers, with an orange border.
    const QRectF card(40, 40, 500, 390);
    QPainterPath cardPath;
    cardPath.addRoundedRect(card, 22, 22);
    paintGlow(p, cardPath.translated(0, 5), QColor(0, 0, 12, 200), 14);
    paintGlow(p, cardPath, QColor(255, 140, 40, 120), 10);
    p.fillPath(cardPath, Qt::white);

    // A faint tint behind the question text, and hairlines between the answers.
    QPainterPath questionArea;
    questionArea.addRoundedRect(QRectF(86, 54, 446, 90), 10, 10);
    QLinearGradient tint(0, 54, 0, 144);
    tint.setColorAt(0, QColor(246, 243, 255));
    tint.setColorAt(1, QColor(238, 236, 252));
    p.fillPath(questionArea, tint);
    p.setPen(QPen(QColor(226, 222, 244), 1));
    for (int y : {199, 239, 279})
        p.drawLine(QPointF(95, y + 0.5), QPointF(520, y + 0.5));

    // A faint emblem in the card's lower right corner.
    p.setOpacity(0.07);
    paintEmblem(p, QPointF(482, 384), 26);
    p.setOpacity(1);

    QLinearGradient border(card.topLeft(), card.bottomRight());
    border.setColorAt(0, QColor(255, 166, 60));
    border.setColorAt(1, QColor(240, 110, 20));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(border), 6));
    p.drawRoundedRect(card.adjusted(3, 3, -3, -3), 19, 19);

    // The disc behind the question number: light, so that a black number reads well.
    const QPointF discCentre(48, 48);
    QPainterPath disc;
    disc.addEllipse(discCentre, 38, 38);
    paintGlow(p, disc.translated(0, 3), QColor(0, 0, 12, 190), 8);
    p.fillPath(disc, Qt::white);
    QRadialGradient discFill(discCentre - QPointF(8, 10), 40);
    discFill.setColorAt(0.0, QColor(255, 246, 190));
    discFill.setColorAt(0.55, QColor(255, 210, 90));
    discFill.setColorAt(1.0, QColor(255, 150, 36));
    p.setPen(Qt::NoPen);
    p.setBrush(discFill);
    p.drawEllipse(discCentre, 33, 33);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(240, 120, 20), 1.5));
    p.drawEllipse(discCentre, 38, 38);
    p.setPen(QPen(QColor(230, 130, 30, 160), 1));
    p.drawEllipse(discCentre, 33, 33);

    // The photo's frame, its emblem and a plinth for "Desistir".
    paintPhotoFrame(p, QRectF(588, 48, 161, 201), QRectF(600, 60, 137, 177));
    paintEmblem(p, QPointF(668, 312), 34);
    paintPanel(p, QRectF(590, 371, 157, 48), 12);
    return img;
}

QImage paintResultado()
{
    QImage img = canvas(kScreen);
    QPainter p(&img);
    prepare(p);
    paintSpace(p, img.rect(), 41);
    paintOrbitLines(p, QPointF(620, 330), 240, 80, -16);

    // Heading, centred on the visible width.
    paintGoldText(p, texto::resultadoCabecalho, cabin(40, QFont::Bold), QPointF(392, 60));
    paintSparkle(p, QPointF(232, 40), 10, QColor(255, 240, 200, 230));
    paintSparkle(p, QPointF(552, 46), 7, QColor(200, 236, 255, 230));

    // The game's values.
    paintPanel(p, QRectF(24, 80, 372, 296));
    paintCaption(p, QRectF(40, 92, 250, 20), Qt::AlignLeft | Qt::AlignVCenter, texto::resultadoNome);
    paintValueBox(p, QRectF(40, 115, 250, 45));
    paintCaption(p, QRectF(40, 182, 200, 20), Qt::AlignLeft | Qt::AlignVCenter, texto::resultadoCertas);
    paintValueBox(p, QRectF(40, 205, 90, 51));
    paintCaption(p, QRectF(150, 182, 200, 20), Qt::AlignLeft | Qt::AlignVCenter, texto::resultadoErradas);
    paintValueBox(p, QRectF(150, 205, 85, 51));
    paintCaption(p, QRectF(255, 182, 200, 20), Qt::AlignLeft | Qt::AlignVCenter, texto::resultadoNaoRespondidas);
    paintValueBox(p, QRectF(255, 205, 88, 51));
    paintCaption(p, QRectF(40, 277, 200, 20), Qt::AlignLeft | Qt::AlignVCenter, texto::resultadoPontuacao);
    paintValueBox(p, QRectF(40, 300, 130, 59));

    // The record.
    paintPanel(p, QRectF(420, 78, 296, 226));
    paintGoldText(p, texto::recordeCabecalho, cabin(20, QFont::Bold), QPointF(432, 108), Qt::AlignLeft);
    paintCaption(p, QRectF(440, 122, 250, 20), Qt::AlignLeft | Qt::AlignVCenter, texto::recordeNome);
    paintValueBox(p, QRectF(440, 145, 250, 45));
    paintCaption(p, QRectF(440, 212, 200, 20), Qt::AlignLeft | Qt::AlignVCenter, texto::recordePontos);
    paintValueBox(p, QRectF(440, 235, 88, 51));
    paintEmblem(p, QPointF(626, 258), 24);
    return img;
}

QImage paintCadastro()
{
    QImage img = canvas(kScreen);
    QPainter p(&img);
    prepare(p);
    paintSpace(p, img.rect(), 51);
    paintOrbitLines(p, QPointF(680, 380), 220, 70, -16);

    // The heading band.
    const QRectF band(0, 0, 800, 48);
    QLinearGradient bandFill(band.topLeft(), band.topRight());
    bandFill.setColorAt(0.0, QColor(46, 22, 112, 240));
    bandFill.setColorAt(0.6, QColor(22, 26, 86, 235));
    bandFill.setColorAt(1.0, QColor(60, 22, 104, 240));
    p.fillRect(band, bandFill);
    QLinearGradient rule(0, 0, 784, 0);
    rule.setColorAt(0.0, QColor(255, 200, 92, 230));
    rule.setColorAt(0.7, QColor(255, 138, 30, 160));
    rule.setColorAt(1.0, QColor(255, 200, 92, 60));
    p.fillRect(QRectF(0, 46, 800, 2), rule);

    paintGoldText(p, texto::cadastroCabecalho, cabin(26, QFont::Bold), QPointF(16, 33), Qt::AlignLeft);
    const QFont signature = cabin(11, QFont::DemiBold, 1.2);
    paintShadowedText(p, QRectF(360, 16, 366, 18), Qt::AlignRight | Qt::AlignVCenter, texto::cadastroAssinatura,
                      signature, cor::textoSuave);
    paintEmblem(p, QPointF(754, 24), 15);

    // The button bar: the navigator with the editing buttons, and the search.
    paintPanel(p, QRectF(14, 52, 300, 38), 9);
    paintPanel(p, QRectF(334, 52, 102, 38), 9);

    // The fields: captions ending at x 150, centred on boxes 24 pixels high from x 158.
    paintPanel(p, QRectF(8, 98, 582, 254), 12);
    const int boxTops[] = {108, 143, 178, 213, 248, 283, 318};
    for (int i = 0; i < 7; ++i) {
        const qreal y = boxTops[i];
        const qreal width = i == 0 ? 60 : 420;
        paintCaption(p, QRectF(10, y, 140, 24), Qt::AlignRight | Qt::AlignVCenter, texto::cadastroCampos[i], 14);
        QPainterPath slot;
        slot.addRoundedRect(QRectF(155, y - 3, width + 6, 30), 5, 5);
        p.fillPath(slot, QColor(0, 0, 20, 120));
        p.setPen(QPen(QColor(70, 206, 255, 70), 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(slot);
    }

    // The picture box's frame; "Selecionar foto" sits just below it.
    paintPhotoFrame(p, QRectF(600, 98, 157, 197), QRectF(610, 108, 137, 177));
    return img;
}

QImage paintInstrucoes()
{
    QImage img = canvas(kScreen);
    QPainter p(&img);
    prepare(p);
    paintSpace(p, img.rect(), 61);

    // Picture rows 8 to about 444 are what the screen shows.
    paintTitleArt(p, QRectF(120, 20, 544, 60), TitleLayout::Inline);

    const QRectF panel(20, 88, 744, 352);
    paintPanel(p, panel);
    paintGoldText(p, texto::instrucoesCabecalho, cabin(22, QFont::Bold), QPointF(40, 118), Qt::AlignLeft);

    // The rules with their letters in a column of their own and wrapped lines indented under the text.
    const QFont letterFont = cabin(15, QFont::Bold);
    const QFont ruleFont = cabin(15, QFont::Normal);
    const qreal letterLeft = 40, textLeft = 66, textRight = panel.right() - 18;
    const QRectF column(textLeft, 0, textRight - textLeft, 1000);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

    struct Rule {
        QString letter, text;
        qreal height;
    };
    QList<Rule> rules;
    const QFontMetricsF metrics(ruleFont);
    qreal total = 0;
    for (const QString& line : texto::regras) {
        const qsizetype space = line.indexOf(u' ');
        Rule r{line.left(space), line.mid(space + 1), 0};
        r.height = metrics.boundingRect(column, flags, r.text).height();
        total += r.height;
        rules.append(r);
    }
    const qreal top = 132, bottom = panel.bottom() - 12;
    const qreal spacing = std::clamp((bottom - top - total) / (rules.size() - 1), 2.0, 12.0);
    qreal y = top;
    for (const Rule& r : rules) {
        paintShadowedText(p, QRectF(letterLeft, y, textLeft - letterLeft, r.height), Qt::AlignLeft | Qt::AlignTop,
                          r.letter, letterFont, cor::ouro);
        paintShadowedText(p, QRectF(textLeft, y, column.width(), r.height), flags, r.text, ruleFont,
                          cor::textoClaro);
        y += r.height + spacing;
    }
    return img;
}

} // namespace arte
