// Resource identifiers shared by lumorra.rc and the program.
#pragma once

// The application icon is a named resource, "DEFAULT_ICON", used as window and tray icon.
#define LUMORRA_ICON_NAME L"DEFAULT_ICON"
