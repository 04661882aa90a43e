// A fixture for the layer-order check: one include from an earlier layer, one from
// a later one.
#include "i18n/StringIds.h"
#include "shell/MainWindow.h"
