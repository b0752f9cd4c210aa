// The spoken outcome of each event, in French.
#include "OutcomeText.h"

#include <QStringList>

#include "FormBuilder.h"
#include "GameState.h"
#include "Layout.h"

namespace kelo {
namespace {

// French counts: singular for 0 and 1.
QString placed(int n, const char* how) {
    return QStringLiteral("%1 %2 plac%3")
        .arg(n)
        .arg(QLatin1String(how), n > 1 ? QStringLiteral("és") : QStringLiteral("é"));
}

QString codeText(const Outcome& o) {
    QStringList digits;
    for (const int digit : o.code)
        digits << QString::number(digit);
    return digits.join(u' ');
}

QString charactersText(const std::vector<std::string>& characters) {
    QStringList typed;
    for (const auto& character : characters)
        typed << QString::fromStdString(character);
    return typed.join(u' ');
}

QString counts(int bon, int mal) {
    return placed(bon, "bien") + QStringLiteral(", ") + placed(mal, "mal");
}

// Which rows the board shows: "coups 3 à 10", "coup 1", "coups 14 à 20, puis le code".
QString shownText(const std::vector<Outcome::Row>& rows) {
    QStringList parts;
    int first = 0;
    int last = 0;
    for (const auto& row : rows) {
        if (row.guess > 0)
            last = row.guess;
        if (row.guess > 0 && first == 0)
            first = row.guess;
    }
    if (first == last && first > 0)
        parts << QStringLiteral("coup %1").arg(first);
    else if (first > 0)
        parts << QStringLiteral("coups %1 à %2").arg(first).arg(last);
    if (!rows.empty() && rows.back().guess == 0)
        parts << QStringLiteral("le code");
    return parts.isEmpty() ? QStringLiteral("aucun coup") : parts.join(QStringLiteral(", puis "));
}

// Each row as a sentence, the newest last.
QString boardText(const std::vector<Outcome::Row>& rows) {
    QStringList sentences;
    for (const auto& row : rows) {
        if (row.guess == 0) {
            sentences << QStringLiteral("Code : ") + charactersText(row.characters);
        } else {
            sentences << QStringLiteral("Coup %1 : %2, %3")
                             .arg(row.guess)
                             .arg(charactersText(row.characters), counts(row.bon, row.mal));
        }
    }
    if (sentences.isEmpty())
        return QStringLiteral("Aucun coup");
    return sentences.join(QStringLiteral(". "));
}

// "nouvelle partie par Alt+3, Alt+4 ou Alt+5": the new-game buttons' keys.
QString newGameKeys() {
    QStringList keys;
    for (const auto& control : layout::Controls) {
        if (control.keys.digit != 0)
            keys << spokenKeys(control);
    }
    const QString last = keys.takeLast();
    return QStringLiteral("nouvelle partie par ") + keys.join(QStringLiteral(", ")) +
           QStringLiteral(" ou ") + last;
}

const QString NewGameKeys = newGameKeys();

}  // namespace

QString outcomeText(const Outcome& o) {
    switch (o.kind) {
        case Outcome::Kind::Nothing:
            return {};
        case Outcome::Kind::NewGame:
            return QStringLiteral("Nouvelle partie à %1 chiffres").arg(o.length);
        case Outcome::Kind::Guess: {
            // The counts first: a player who types on at once has heard what matters.
            QString text = QStringLiteral("%1 : %2, coup %3")
                               .arg(counts(o.bon, o.mal), charactersText(o.characters))
                               .arg(o.guess);
            if (!o.code.empty())
                text += QStringLiteral(". Code : ") + codeText(o);
            return text;
        }
        case Outcome::Kind::Win:
            return QStringLiteral("Bien ! Code trouvé : ") + codeText(o);
        case Outcome::Kind::Reveal:
            return QStringLiteral("Code : ") + codeText(o);
        case Outcome::Kind::NoGame:
            return QStringLiteral("Pas de partie en cours : ") + NewGameKeys;
        case Outcome::Kind::Scrolled: {
            const QString shown = shownText(o.rows);
            if (!o.moved)
                return QStringLiteral("Rien à faire défiler : ") + shown;
            return shown.front().toUpper() + shown.mid(1);
        }
        case Outcome::Kind::Board:
            return boardText(o.rows);
        case Outcome::Kind::Refused:
            break;
    }
    switch (o.refusal) {
        case Outcome::Refusal::NoGuessLeft:
            return QStringLiteral("Plus de coups : ") + NewGameKeys;
        case Outcome::Refusal::AlreadyWon:
            return QStringLiteral("Partie gagnée : ") + NewGameKeys;
        case Outcome::Refusal::WrongLength:
            break;
    }
    if (!isCodeLength(o.typed))
        return QStringLiteral("Refusé : une proposition a de 3 à 5 caractères");
    return QStringLiteral("%1 caractères : le code a %2 chiffres").arg(o.typed).arg(o.length);
}

}  // namespace kelo
