// The spoken outcome of each event, in French.
#include "OutcomeText.h"

#include <QStringList>

#include "GameState.h"

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

const QString NewGameKeys = QStringLiteral("nouvelle partie par Alt+3, Alt+4 ou Alt+5");

}  // namespace

QString outcomeText(const Outcome& o) {
    switch (o.kind) {
        case Outcome::Kind::Nothing:
            return {};
        case Outcome::Kind::NewGame:
            return QStringLiteral("Nouvelle partie à %1 chiffres").arg(o.length);
        case Outcome::Kind::Guess: {
            QStringList typed;
            for (const auto& character : o.characters)
                typed << QString::fromStdString(character);
            QString text = QStringLiteral("Coup %1 : %2, %3, %4")
                               .arg(o.guess)
                               .arg(typed.join(u' '), placed(o.bon, "bien"), placed(o.mal, "mal"));
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
        case Outcome::Kind::Scrolled:
            return QStringLiteral("Coups %1 à %2").arg(o.first).arg(o.last);
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
