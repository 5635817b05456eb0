#pragma once
// Where TARN's own default content (colormap, phong maps, environment maps)
// lies: installed under PREFIX/share/tarn beside PREFIX/bin, or in the
// "content" folder next to the program in a build tree.
#include <QString>

#include "app/preferences.h"

namespace tarn {

// The folder of the content for a program in `programFolder`, or empty when
// none holds a colormap.
QString findContentFolder(const QString& programFolder);

// The user guide for a program in `programFolder`: installed beside the
// content, or in the sources of a build tree; empty when there is none.
QString findUserGuide(const QString& programFolder);

// The preference defaults of that content; empty paths when there is none.
PreferenceDefaults contentDefaultsFor(const QString& programFolder);

}  // namespace tarn
