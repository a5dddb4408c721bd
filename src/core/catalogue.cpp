#include "core/catalogue.h"

#include <array>
#include <cassert>

namespace quimo {

namespace {

constexpr int blockOf(int question)
{
    return (question - 1) % kBlockCount + 1;
}
constexpr int positionOf(int question)
{
    return (question - 1) / kBlockCount + 1;
}
constexpr int questionOf(int block, int position)
{
    return block + kBlockCount * (position - 1);
}

// Every text exactly as the users see it and as earlier pictures were named, including the
// odd spellings ("Idden", "kreiieren", ...): changing one would break familiar file names.
// Chart labels break into two lines at the '\r'. Statements are listed block by block, six
// per block in position order, each with its question number for the check below.
// clang-format off
constexpr std::array<BlockNames, kBlockCount> kBlockNames{{
    {"Ziele und Visionen kreieren", "Ziele und Visionen\rkreieren", "QUIMO: Pendrovik: Ziele und Visionen kreieren", "-1Ziele und Visionen kreiieren.jpg"},
    {"Ergebnisse+Erwartungen strukturieren", "Ergebnisse und Er-\rwartungen strukturieren", "QUIMO: Pendrovik: Ergebnisse und Erwartungen strukturieren", "-2Ergebnisse und Erwartungen strukturieren.jpg"},
    {"Ideen + Informationen sammeln", "Ideen und Infor-\rmationen sammeln", "QUIMO: Pendrovik: Idden und Informationen sammeln", "-3Ideen und Informationen sammeln.jpg"},
    {"Teilen und gewinnen", "Teilen und gewinnen", "QUIMO: Pendrovik: Teilen und gewinnen", "-4Teilen und gewinnen.jpg"},
    {"Prioritäten setzen", "Prioritäten setzen", "QUIMO: Pendrovik: Prioritäten setzen", "-5Prioritäten setzen.jpg"},
    {"Routineaufgaben einbauen", "Routineaufgaben\reinbauen", "QUIMO: Pendrovik: Routineaufgaben einbauen", "-6Routineaufgaben einbauen.jpg"},
    {"Ordnung schaffen", "Ordnung schaffen", "QUIMO: Pendrovik: Ordnung schaffen", "-7Ordnung schaffen.jpg"},
    {"Freude + Freunde gewinnen", "Freude und Freunde\rgewinnen", "QUIMO: Pendrovik: Freude und Freunde gewinnen", "-8Freude und Freunde gewinnen.jpg"},
    {"Initiative ergreifen", "Initiative\rergreifen", "QUIMO: Pendrovik: Initiative ergreifen", "-9Initiative ergreifen.jpg"},
}};
constexpr std::array<Statement, kQuestionCount> kStatements{{
    {1, " 1. Meine Ziele beschreiben stark den beruflichen Bereich.", ""},
    {10, "10. Meine Ziele habe ich schriftlich niedergelegt.", ""},
    {19, "19. Meine Ziele beschreiben stark den privaten und persönlichen Bereich.", ""},
    {28, "28. Pro Jahr verfolge ich fünf bis zehn konkrete Ziele.", ""},
    {37, "37. Ich kenne meinen Lerntyp.", ""},
    {46, "46. Meine Visionen sind auf auf zwei bis vier Seiten skizziert.", ""},

    {2, " 2. Aus Wünschen/Erwartungen habe ich Ergebnisse festgelegt.", ""},
    {11, "11. Meine Ergebnisse sind konkret und fassbar beschrieben.", ""},
    {20, "20. Mit meinen Ergebnissen kann ich mich sehr gut identifizieren.", ""},
    {29, "29. Meine Ergebnisse sind nach Wirkungsbereichen geordnet.", ""},
    {38, "38. Meine Ergebnisse sind durch eine Portfoliobewertung dargestellt.", ""},
    {47, "47. Meine Ergebnisse liegen als Baumstruktur vor.", ""},

    {3, " 3. Ich sammle regelmäßig Informationen.", ""},
    {12, "12. Zum Sammeln von Informationen nutze ich moderne Medien, z.B. Internet.", ""},
    {21, "21. Ich ordne die Informationen nach Wirkungsbereichen.", ""},
    {30, "30. Mit den Kreativitätstechniken 6-3-5 und Morphologischer Kasten bin ich vertraut.", ""},
    {39, "39. Ich beherrsche das schnelle Lesen.", ""},
    {48, "48. Zur Ideenfindung setze ich Kreativitätstechniken wie Brainstorming ein.", ""},

    {4, " 4. Ich plane pro Woche meine Aufgaben unter Berücksichtigung meiner verfüg-", "     baren Kapazität."},
    {13, "13. Für große Aufgaben stelle ich separate Erfolgs- bzw. Projektpläne auf.", ""},
    {22, "22. Pro Aufgabe ermittle ich den nötigen Zeitbedarf, um die Arbeit zu erledigen.", ""},
    {31, "31. Meine TO-Do-Liste umfasst weniger als 50 Aktivitäten.", ""},
    {40, "40. Für größere Aufgaben stelle ich Meilensteine auf.", ""},
    {49, "49. Ich fange meine Arbeiten gleich und zügig an.", ""},

    {5, " 5. Meine Störungskurve proTag, pro Woche ist mir bekannt.", ""},
    {14, "14. Die ABC-Analyse nutze ich zur geschickten Planung.", ""},
    {23, "23. Ich habe eine klare Vorstellung, was pro Woche zu tun ist.", ""},
    {32, "32. Ich kenne meine Prioritäten für die kommenden Aufgaben.", ""},
    {41, "41. Auf der Basis der Wirkungsbereiche liegt ein Modell des Wochenplanes vor.", ""},
    {50, "50. Ich nutze das Eisenhower-Prinzip zur Bewältigung meiner täglichen Arbeiten.", ""},

    {6, " 6. Ich habe eine schriftliche Übersicht über alle Routineaufgaben pro Jahr.", ""},
    {15, "15. Ich arbeite sehr intensiv mit Checklisten.", ""},
    {24, "24. Ich habe meine Routineaufgaben kritisch angesehen und optimiert.", ""},
    {33, "33. Meine wöchentlichen/monatlichen Routineaufgaben fließen in meine Zeit- ", "planung pro Woche/pro Monat ein."},
    {42, "42. Für die Organisation der Routineaufgaben nutze ich Software.", ""},
    {51, "51. Meine täglichen Routineaufgaben sind mir klar und schriftlich fixiert.", ""},

    {7, " 7. Mein Ordnungssystem ist nach Wirkungsbereichen ausgerichtet.", ""},
    {16, "16. Ich habe meinen Arbeitsplatz bewusst nach Griffbereich - Reichbereich - ", "Holbereich organisiert."},
    {25, "25. Ich komme ohne Wiedervorlagesystem aus.", ""},
    {34, "34. Begonnene Arbeiten schließe ich auch ab.", ""},
    {43, "43. Meine Projektdokumente lege ich nach der PM-Uhr ab.", ""},
    {52, "52. Ich halte mich an die sechs goldenen Ordnungsregeln.", ""},

    {8, " 8. Ich kann recht gut mit Niederlagen umgehen.", ""},
    {17, "17. Im Netz der Beziehungen gilt für mich der Grundsatz \"Geben und Nehmen soll ausgewogen sein\".", "soll ausgewogen sein\"."},
    {26, "26. Ich setze regelmäßig Entspannungstechniken ein.", ""},
    {35, "35. Ich betreibe konsequente Kontaktpflege.", ""},
    {44, "44. Ich nutze erfolgreich die 30-Sekunden-Regel.", ""},
    {53, "53. Ich kenne meine Motivatoren.", ""},

    {9, " 9. Ich gehe auf Menschen zu, ich tue den ersten Schritt.", ""},
    {18, "18. Konflikte gehe ich gezielt und gekonnt an.", ""},
    {27, "27. Ich zerlege meine Aufgaben in kleine Schritte, um damit gut starten zu  können.", ""},
    {36, "36. Ich nutze Vorsätze, um mich in wichtigen Dingen nach vorn zu bringen.", ""},
    {45, "45. Ich genieße meine Erfolge.", ""},
    {54, "54. Unliebsame Themen nehme ich sofort in Angriff.", ""},
}};

// clang-format on

constexpr int statementIndex(int question)
{
    return (blockOf(question) - 1) * kStatementsPerBlock + positionOf(question) - 1;
}

constexpr bool statementsInPlace()
{
    for (int q = 1; q <= kQuestionCount; ++q) {
        if (kStatements[static_cast<std::size_t>(statementIndex(q))].question != q) {
            return false;
        }
    }
    return true;
}
static_assert(statementsInPlace(), "statements must be listed block by block in position order");

} // namespace

int blockOfQuestion(int question)
{
    assert(question >= 1 && question <= kQuestionCount);
    return blockOf(question);
}

int positionOfQuestion(int question)
{
    assert(question >= 1 && question <= kQuestionCount);
    return positionOf(question);
}

int questionAt(int block, int position)
{
    assert(block >= 1 && block <= kBlockCount);
    assert(position >= 1 && position <= kStatementsPerBlock);
    return questionOf(block, position);
}

const BlockNames &blockNames(int block)
{
    assert(block >= 1 && block <= kBlockCount);
    return kBlockNames[static_cast<std::size_t>(block - 1)];
}

const Statement &statement(int question)
{
    assert(question >= 1 && question <= kQuestionCount);
    return kStatements[static_cast<std::size_t>(statementIndex(question))];
}

} // namespace quimo
