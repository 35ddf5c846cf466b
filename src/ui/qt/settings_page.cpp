// The page base has no code of its own; this file gives it its meta-object.
#include "ui/qt/settings_page.h"
