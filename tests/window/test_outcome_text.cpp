// What a screen reader is told after each event: the rules' outcome put into French.
#include <QtTest>

#include "OutcomeText.h"
#include "RulesTable.h"

using namespace kelo;

class TestOutcomeText : public QObject {
    Q_OBJECT
  private slots:
    void afterEvents_data() {
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("spoken");
        auto row = [](const char* name, const char* events, const QString& spoken) {
            QTest::newRow(name) << QString::fromUtf8(events) << spoken;
        };
        const QString again = QStringLiteral("nouvelle partie par Alt+3, Alt+4 ou Alt+5");
        const QString badLength = QStringLiteral("Refusé : une proposition a de 3 à 5 caractères");
        row("new game", "start:123", "Nouvelle partie à 3 chiffres");
        row("counted guess", "start:123 enter:132", "1 bien placé, 2 mal placés : 1 3 2, coup 1");
        row("any characters", "start:1234 enter:a2é4",
            "2 bien placés, 0 mal placé : a 2 é 4, coup 1");
        row("win", "start:123 enter:456 enter:123", "Bien ! Code trouvé : 1 2 3");
        row("reveal", "start:90210 reveal", "Code : 9 0 2 1 0");
        row("no reveal after a win", "start:123 enter:123 reveal", "Partie gagnée : " + again);
        row("too short", "start:123 enter:12", badLength);
        row("too long", "start:123 enter:123456", badLength);
        row("not the code's length", "start:123 enter:1234", "4 caractères : le code a 3 chiffres");
        // Not "3 caractères : le code a 0 chiffres".
        row("Enter before any game", "enter:123", "Pas de partie en cours : " + again);
        row("reveal before any game", "reveal", "Pas de partie en cours : " + again);
        row("remembered length starts a game", "ini:4", "Nouvelle partie à 4 chiffres");
        // Not "Nouvelle partie à 0 chiffres".
        row("no remembered length, no game", "ini:7", "Pas de partie en cours : " + again);
        row("21st guess shows the code", "start:999 misses:21",
            "0 bien placé, 0 mal placé : 1 1 1, coup 21. Code : 9 9 9");
        row("after the 21st guess", "start:999 misses:21 enter:999", "Plus de coups : " + again);
        row("scroll back", "start:999 misses:9 back", "Coups 1 à 8");
        // The last row shown is empty: nine guesses so far.
        row("scroll on", "start:999 misses:9 on", "Coups 3 à 9");
        row("nothing to scroll", "start:999 misses:3 back", "Rien à faire défiler : coups 1 à 3");
        row("scroll, no game", "on", "Rien à faire défiler : aucun coup");
        // The board keeps guesses 14 to 20 above the code, though the view's offset is back to 0.
        row("scroll after the 21st guess", "start:999 misses:21 back",
            "Rien à faire défiler : coups 14 à 20, puis le code");
        row("reread", "start:123 enter:132 enter:456 reread",
            "Coup 1 : 1 3 2, 1 bien placé, 2 mal placés. "
            "Coup 2 : 4 5 6, 0 bien placé, 0 mal placé");
        row("reread after a win", "start:123 enter:123 reread", "Code : 1 2 3");
        row("reread, empty board", "start:123 reread", "Aucun coup");
        row("reread, no game", "reread", "Pas de partie en cours : " + again);
        row("a typed key says nothing", "start:123 key:5", "");
    }

    void afterEvents() {
        QFETCH(QString, events);
        QFETCH(QString, spoken);
        test::RulesTable t;
        for (const QString& event : events.split(u' ')) {
            const QString verb = event.section(u':', 0, 0);
            const QString arg = event.section(u':', 1);
            if (verb == QLatin1String("start")) {
                t.start(test::digitsOf(arg));
            } else if (verb == QLatin1String("enter")) {
                t.enter(arg.toStdString());
            } else if (verb == QLatin1String("misses")) {
                for (int i = 0; i < arg.toInt(); ++i)
                    t.enter(test::RulesTable::miss(t.s().NbChiffres));
            } else if (verb == QLatin1String("ini")) {
                t.game.settingsRead(0.0F, 0.0F, arg.toFloat());
                t.game.Form_Activate();
            } else if (verb == QLatin1String("key")) {
                auto key = static_cast<std::int16_t>(arg.front().unicode());
                t.game.Text_KeyPress(key);
            } else if (verb == QLatin1String("reveal")) {
                t.game.Commandv_Click();
            } else if (verb == QLatin1String("reread")) {
                t.game.rereadBoard();
            } else if (verb == QLatin1String("back")) {
                t.game.Commandmoins_Click();
            } else {
                t.game.Commandplus_Click();
            }
        }
        QCOMPARE(outcomeText(t.game.outcome()), spoken);
    }
};

QTEST_MAIN(TestOutcomeText)
#include "test_outcome_text.moc"
