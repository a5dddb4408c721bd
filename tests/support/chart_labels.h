#pragma once

#include <QStringList>

namespace quimo::testing {

// The nine chart labels as users read them, written out here rather than taken from the
// catalogue, so that a wrong text in the catalogue shows.
inline const QStringList kChartLabels = {"Ziele und Visionen\rkreieren",
                                         "Ergebnisse und Er-\rwartungen strukturieren",
                                         "Ideen und Infor-\rmationen sammeln",
                                         "Teilen und gewinnen",
                                         "Prioritäten setzen",
                                         "Routineaufgaben\reinbauen",
                                         "Ordnung schaffen",
                                         "Freude und Freunde\rgewinnen",
                                         "Initiative\rergreifen"};

} // namespace quimo::testing
