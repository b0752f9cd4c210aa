// Random play through the rules' entry points, checking after every event that the history
// stays in bounds. Seeded: a failure prints its seed; KELO_SEED=<n> replays it.
#include <QtTest>
#include <random>

#include "RulesTable.h"
#include "Seed.h"

using namespace kelo;
using kelo::test::RulesTable;

namespace {

const std::vector<std::string> Pieces = {
    "0",    "1", "5", "9", "a", " ", "-", "\xC3\xA9", "\xF0\x9F\x8E\xB2", "\xE2\x82\xAC",
    "\xFF", "B", "!"};

std::string randomText(std::mt19937& engine) {
    std::uniform_int_distribution<int> length(0, 6);
    std::uniform_int_distribution<std::size_t> piece(0, Pieces.size() - 1);
    std::uniform_int_distribution<int> digit(0, 9);
    std::string text;
    const int n = length(engine);
    for (int i = 0; i < n; ++i) {
        // Mostly digits, so that wins happen and play goes on after them.
        text += engine() % 4 != 0 ? std::string(1, static_cast<char>('0' + digit(engine) % 3))
                                  : Pieces[piece(engine)];
    }
    return text;
}

// Returns an empty text when every invariant holds, else what broke.
QString brokenInvariant(const GameState& s) {
    if (s.Decal < 0 || s.Decal > MaxDecal)
        return QStringLiteral("Decal %1").arg(s.Decal);
    if (s.DecalAuto < 0 || s.DecalAuto > MaxDecal)
        return QStringLiteral("DecalAuto %1").arg(s.DecalAuto);
    if (s.NbCoups < 0 || s.NbCoups > MaxGuesses)
        return QStringLiteral("NbCoups %1").arg(s.NbCoups);
    for (std::size_t row = MaxGuesses; row < HistoryRows; ++row) {
        for (const auto& column : s.TabA) {
            if (!column.at(row).empty())
                return QStringLiteral("history row %1 written").arg(row);
        }
        if (!s.TabBon.at(row).empty() || !s.TabMal.at(row).empty()) {
            return QStringLiteral("score row %1 written").arg(row);
        }
    }
    for (std::size_t k = 0; k < static_cast<std::size_t>(s.NbChiffres); ++k) {
        if (s.Code[k] != s.Copie[k] || s.Code[k] < 0 || s.Code[k] > 9)
            return QStringLiteral("code digit %1").arg(k);
    }
    return {};
}

}  // namespace

class TestRulesSoak : public QObject {
    Q_OBJECT
  private slots:
    void randomPlayKeepsEveryIndexInRange();
};

void TestRulesSoak::randomPlayKeepsEveryIndexInRange() {
    const unsigned seed = kelo::test::testSeed();
    std::mt19937 engine(seed);
    RulesTable t;
    t.random.values = {0.05F, 0.15F, 0.25F};  // codes of 0s, 1s and 2s: wins come often
    int wins = 0;
    int lateWins = 0;
    for (int event = 0; event < 200000; ++event) {
        const auto choice = engine() % 100;
        try {
            if (choice == 0 && engine() % 4 == 0) {
                t.game.CommandCh_Click(3 + static_cast<int>(engine() % 3));
            } else if (choice < 80) {
                const bool wasWon = t.s().PartieFinie == 1;
                const Integer before = t.s().NbCoups;
                t.enter(randomText(engine));
                if (!wasWon && t.s().PartieFinie == 1) {
                    ++wins;
                    lateWins += before >= 8 ? 1 : 0;
                }
            } else if (choice < 85) {
                t.game.Commandv_Click();
            } else if (choice < 93) {
                t.game.Commandmoins_Click();
            } else {
                t.game.Commandplus_Click();
            }
        } catch (const std::out_of_range& e) {
            QFAIL(qPrintable(QStringLiteral("seed %1, event %2: index out of range (%3)")
                                 .arg(seed)
                                 .arg(event)
                                 .arg(e.what())));
        }
        const QString broken = brokenInvariant(t.s());
        if (!broken.isEmpty()) {
            QFAIL(qPrintable(
                QStringLiteral("seed %1, event %2: %3").arg(seed).arg(event).arg(broken)));
        }
    }
    qInfo("seed %u: %d wins, %d of them after the 8th guess", seed, wins, lateWins);
    QVERIFY2(lateWins > 0, "the walk never reached play after a late win");
}

QTEST_APPLESS_MAIN(TestRulesSoak)
#include "test_rules_soak.moc"
