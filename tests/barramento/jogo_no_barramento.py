"""The game as a blind player meets it: the real program on the desktop's accessibility bus
(AT-SPI), driven by key presses alone, and what the bus reports at each step checked against
what the player must hear. Run by sessao.sh inside a session of its own.

Arguments: JORNADA JORNADA_DADOS
"""
import os
import re
import shutil
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402
import pyatspi  # noqa: E402

JORNADA, DADOS = sys.argv[1:3]
SOURCE = os.path.normpath(os.path.join(os.path.dirname(__file__), "..", ".."))
GAME = "Órbita e Cristal: Jornada do Saber"
PHOTO = "p001.jpg"  # a sample photo, whose file says what it shows
PHOTO_SAYS = "Silhueta do Congresso Nacional ao pôr do sol"
HINT = "Tab leva às alternativas; as setas passam de uma alternativa a outra."


class Failure(Exception):
    pass


def expect(condition, what):
    if not condition:
        raise Failure(what)


# ---------------------------------------------------------------------------------------------
# The bank: question k is "Pergunta k?", its answers "A k" to "D k", the right one at position
# k % 4. The test knows every right answer from what it wrote here.

def right_answer(k):
    return "ABCD"[k % 4] + " %d" % k


def wrong_answer(k):
    return "ABCD"[(k + 1) % 4] + " %d" % k


def make_bank(home, count=25):
    source = os.path.join(home, "origem")
    os.makedirs(os.path.join(source, "fotos"))
    shutil.copy(os.path.join(SOURCE, "data", "fotos", PHOTO), os.path.join(source, "fotos", PHOTO))
    with open(os.path.join(source, "perguntas.tsv"), "w", encoding="utf-8") as tsv:
        tsv.write("Id\tPergunta\tResp1\tResp2\tResp3\tResp4\tCorreta\tFoto\n")
        for k in range(1, count + 1):
            answers = ["%s %d" % (letter, k) for letter in "ABCD"]
            tsv.write("\t".join([str(k), "Pergunta %d?" % k] + answers + [right_answer(k), PHOTO]) + "\n")
    subprocess.run([DADOS, "--origem", source], check=True, stdout=subprocess.DEVNULL)


# ---------------------------------------------------------------------------------------------
# The bus: every event the game sends is kept, as a screen reader would receive it.

events = []


def on_event(event):
    try:
        name, role = event.source.name, event.source.getRoleName()
    except Exception:  # the object went away before it could be asked
        name, role = None, None
    events.append((event.type, event.source, event.detail1, event.any_data, name, role))


def pump(seconds):
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while context.pending():
            context.iteration(False)
        time.sleep(0.01)


def press(*keys):
    subprocess.run(["xdotool", "key", "--delay", "60"] + list(keys), check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "60", text], check=True)


def focused_events(since):
    return [e for e in events[since:] if e[0] == "object:state-changed:focused" and e[2] == 1]


def wait_for_focus(what, test, since, timeout=10):
    """The control that takes the focus after events[since], once `test(name, role)` holds."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        pump(0.05)
        focus = focused_events(since)
        if focus and test(focus[-1][4] or "", focus[-1][5] or ""):
            return focus[-1][1]
    last = focused_events(since)
    raise Failure("%s: o foco foi para %s" % (what, [(e[4], e[5]) for e in last[-3:]] or "lugar nenhum"))


def step(keys, what, test, timeout=10):
    since = len(events)
    press(*keys)
    return wait_for_focus(what, test, since, timeout)


def has_state(obj, state):
    return obj.getState().contains(state)


def alert_of(obj):
    while obj is not None and obj.getRole() != pyatspi.ROLE_ALERT:
        obj = obj.parent
    return obj


def texts_under(obj):
    found = []
    for i in range(obj.childCount):
        child = obj.getChildAtIndex(i)
        if child is None:
            continue
        if child.getRoleName() == "label" and child.name:
            found.append(child.name)
        found += texts_under(child)
    return found


def answer_alert(text, since):
    """An alert comes up, titled with the game's readable name and saying `text`; Enter closes it."""
    button = wait_for_focus("o alerta \"%s\"" % text, lambda n, r: r == "push button", since)
    alert = alert_of(button)
    expect(alert is not None, "\"%s\" não chegou como alerta" % text)
    expect(alert.name == GAME, "o alerta se chama %r" % alert.name)
    expect(text in texts_under(alert), "o alerta diz %r, não %r" % (texts_under(alert), text))
    return len(events)


# ---------------------------------------------------------------------------------------------
# The checks

BOUNDARIES = [pyatspi.TEXT_BOUNDARY_CHAR, pyatspi.TEXT_BOUNDARY_WORD_START, pyatspi.TEXT_BOUNDARY_WORD_END,
              pyatspi.TEXT_BOUNDARY_SENTENCE_START, pyatspi.TEXT_BOUNDARY_SENTENCE_END,
              pyatspi.TEXT_BOUNDARY_LINE_START, pyatspi.TEXT_BOUNDARY_LINE_END]


def every_text_request_answers(box, shown):
    """Each boundary at every offset, the end included (where Ctrl+Left asks), answers with a
    span of what the box shows; one attribute run covers the whole text."""
    text = box.queryText()
    expect(text.characterCount == len(shown), "o texto tem %d caracteres" % text.characterCount)
    expect(text.getText(0, -1) == shown, "o texto lido é %r" % text.getText(0, -1))
    for boundary in BOUNDARIES:
        for offset in range(len(shown) + 1):
            piece, start, end = text.getTextAtOffset(offset, boundary)
            expect(0 <= start <= end <= len(shown) and piece == shown[start:end],
                   "fronteira %s na posição %d: %r %d-%d" % (boundary, offset, piece, start, end))
    for offset in range(len(shown) + 1):
        _, start, end = Atspi.Text.get_attribute_run(box, offset, False)
        expect((start, end) == (0, len(shown)), "atributos na posição %d: %d-%d" % (offset, start, end))


def question_heard(focus, place):
    """The question read where the focus lands: "Pergunta 3 de 20: Pergunta 17?"; returns 17."""
    match = re.fullmatch(r"Pergunta (\d+) de 20: Pergunta (\d+)\?( %s)?" % re.escape(HINT), focus.name or "")
    expect(match is not None, "a pergunta se lê %r" % focus.name)
    expect(int(match.group(1)) == place, "lida como a %sª, não a %dª" % (match.group(1), place))
    expect(bool(match.group(3)) == (place == 1), "a dica de Tab em %r" % focus.name)
    return int(match.group(2))


def is_question(place):
    return lambda n, r: r == "label" and n.startswith("Pergunta %d de 20: " % place)


def answer_question(k, right, place):
    """Tab into the answers, mark the first with Space, Down (going round) to the wanted one."""
    wanted = right_answer(k) if right else wrong_answer(k)
    first = step(["Tab"], "Tab da pergunta %d" % place, lambda n, r: r == "radio button")
    expect(first.name == "Alternativa 1 de 4: A %d" % k, "Tab entrou nas alternativas por %r" % first.name)
    press("space")
    pump(0.3)
    expect(has_state(first, pyatspi.STATE_CHECKED), "Espaço não marcou %r" % first.name)
    focus = first
    for _ in range(4):
        if focus.name.endswith(": " + wanted):
            break
        focus = step(["Down"], "seta para baixo", lambda n, r: r == "radio button")
    expect(focus.name.endswith(": " + wanted), "a alternativa %r nunca foi lida" % wanted)
    expect(has_state(focus, pyatspi.STATE_CHECKED), "a alternativa marcada não se lê marcada")
    step(["Tab"], "Tab até OK", lambda n, r: n == "OK")


def play_whole_game(player):
    """15 right answers, then 5 wrong; each wrong one is an alert."""
    type_text(player)
    step(["Tab"], "Tab até Jogar", lambda n, r: n == "Jogar")
    since = len(events)
    press("space")
    focus = wait_for_focus("a primeira pergunta", is_question(1), since)
    for place in range(1, 21):
        k = question_heard(focus, place)
        right = place <= 15
        answer_question(k, right, place)
        since = len(events)
        press("space")
        if not right:
            since = answer_alert("Resposta incorreta!", since)
            press("Return")
        if place < 20:
            focus = wait_for_focus("a pergunta %d" % (place + 1), is_question(place + 1), since)
    since = answer_alert("NOVO RECORDE!", since)
    press("Return")
    result = wait_for_focus("o resultado", lambda n, r: n.startswith("Resultado de"), since)
    expect(result.name == "Resultado de %s: 15 certas, 5 erradas, 0 não respondidas; pontuação final: 60" % player,
           "o resultado se lê %r" % result.name)


def give_up_after_the_first_question(player, photo_on_the_way):
    type_text(player)
    step(["Tab"], "Tab até Jogar", lambda n, r: n == "Jogar")
    since = len(events)
    press("space")
    question_heard(wait_for_focus("a primeira pergunta de outro jogo", is_question(1), since), 1)
    if photo_on_the_way:
        for name in ["Alternativa 1 de 4", "OK", "Pular"]:
            step(["Tab"], "Tab", lambda n, r, name=name: n.startswith(name))
        photo = step(["Tab"], "Tab até a foto", lambda n, r: r == "image")
        expect(photo.name == "Foto da pergunta: " + PHOTO_SAYS, "a foto se lê %r" % photo.name)
        step(["Tab"], "Tab até Desistir", lambda n, r: n == "Desistir")
    else:
        step(["shift+Tab"], "Shift+Tab até Desistir", lambda n, r: n == "Desistir")
    since = len(events)
    press("space")
    answer_alert("Tem certeza que deseja desistir?", since)
    since = len(events)
    press("Return")
    wait_for_focus("a volta à tela inicial", lambda n, r: r == "text", since)


def main():
    make_bank(os.environ["HOME"])
    Atspi.set_timeout(5000, 30000)
    pyatspi.Registry.registerEventListener(
        on_event, "object:state-changed:focused", "object:text-changed", "object:text-selection-changed",
        "object:property-change:accessible-name")
    log = open(os.path.join(os.environ["HOME"], "jornada.log"), "w")
    game = subprocess.Popen([JORNADA], stdout=log, stderr=subprocess.STDOUT)
    try:
        # The program is on the bus by its readable name, the start screen's name box focused.
        name_box = wait_for_focus("a tela inicial", lambda n, r: r == "text", 0, timeout=60)
        apps = [pyatspi.Registry.getDesktop(0).getChildAtIndex(i)
                for i in range(pyatspi.Registry.getDesktop(0).childCount)]
        expect(GAME in [a.name for a in apps if a is not None], "o programa no barramento: %r" % [a.name for a in apps if a])
        expect(name_box.getApplication().name == GAME, "o programa se chama %r" % name_box.getApplication().name)

        # Ctrl+Left in a filled box, then every text request at every offset: each one answers.
        type_text("Ana Maria. Sim")
        press("ctrl+Left")
        every_text_request_answers(name_box, "Ana Maria. Sim")
        press("ctrl+a", "BackSpace")
        pump(0.3)

        # A whole game, and the result read when its screen opens.
        play_whole_game("Ana")
        print("ok: um jogo inteiro, cada pergunta lida ao chegar, os alertas e o resultado")

        # Every later game starts on its first question: after a game ended with OK, after giving up.
        step(["Tab"], "Tab até Encerrar", lambda n, r: n == "Encerrar")
        step(["Tab"], "Tab até Jogar Novamente", lambda n, r: n == "Jogar Novamente")
        since = len(events)
        press("space")
        wait_for_focus("a tela inicial de novo", lambda n, r: r == "text", since)
        give_up_after_the_first_question("Bia", photo_on_the_way=True)
        give_up_after_the_first_question("Caio", photo_on_the_way=False)
        print("ok: o segundo e o terceiro jogo começam lidos pela primeira pergunta; a foto diz o que mostra")

        # Leaving a filled box is not read as "text unselected".
        type_text("Davi")
        since = len(events)
        step(["Tab"], "Tab até Jogar", lambda n, r: n == "Jogar")
        step(["shift+Tab"], "de volta ao nome", lambda n, r: r == "text")
        step(["Tab"], "Tab até Jogar", lambda n, r: n == "Jogar")
        changes = [e for e in events[since:] if e[0] == "object:text-selection-changed"]
        expect(not changes, "a seleção mudou ao entrar ou sair da caixa: %d vezes" % len(changes))
        print("ok: entrar numa caixa preenchida e sair dela não anuncia seleção")

        # The password is heard as its mask, never as what was typed.
        password = step(["alt+c"], "a senha do administrador", lambda n, r: r == "password text")
        since = len(events)
        type_text("1234")
        pump(0.5)
        typed = [e[3] for e in events[since:] if e[0].startswith("object:text-changed:insert")]
        expect(typed and all(set(str(t)) == {"*"} for t in typed), "a senha digitada foi dita como %r" % typed)
        expect(password.queryText().getText(0, -1) == "****", "a senha se lê %r" % password.queryText().getText(0, -1))
        step(["Tab"], "Tab até OK", lambda n, r: n == "OK")
        since = len(events)
        press("space")
        nav = wait_for_focus("o cadastro", lambda n, r: n.startswith("Próximo registro"), since)
        expect(nav.name == "Próximo registro. Mostrando a pergunta número 1: Pergunta 1?", "o navegador diz %r" % nav.name)
        print("ok: a senha se ouve como asteriscos")

        # The editor while browsing: Space on "Próximo registro" says where it went, with the text.
        since = len(events)
        press("space")
        said = None
        for _ in range(100):
            pump(0.05)
            said = [e[3] for e in events[since:]
                    if e[0] == "object:property-change:accessible-name" and isinstance(e[3], str)
                    and e[3].startswith("Próximo registro")]
            if said:
                break
        expect(said == ["Próximo registro. Mostrando a pergunta número 2: Pergunta 2?"],
               "Espaço em Próximo registro anunciou %r" % said)
        step(["Tab"], "Tab até Último registro", lambda n, r: n.startswith("Último registro"))
        box = step(["Tab"], "Tab até a pergunta", lambda n, r: r == "text")
        expect(box.name == "Pergunta" and box.queryText().getText(0, -1) == "Pergunta 2?",
               "a caixa da pergunta se lê %r: %r" % (box.name, box.queryText().getText(0, -1)))
        expect(has_state(box, pyatspi.STATE_READ_ONLY) and not has_state(box, pyatspi.STATE_EDITABLE),
               "a caixa da pergunta não se lê só para leitura")
        print("ok: o cadastro diz a pergunta alcançada, e seus campos se leem sem edição")
    except Failure as failure:
        print("FALHA:", failure)
        return 1
    except GLib.Error as error:  # a request the program never answered, or a dead program
        print("FALHA: o barramento respondeu com erro:", error.message)
        return 1
    finally:
        game.kill()
        game.wait()
        log.close()
        with open(os.path.join(os.environ["HOME"], "jornada.log")) as shown:
            output = shown.read().strip()
        if output:
            print("saída do jogo:\n" + output)
    return 0


sys.exit(main())
