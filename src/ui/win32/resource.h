// Resource identifiers shared by orvando.rc and the window code.
#pragma once

// The application icon has the lowest number, so that Explorer shows it.
#define IDI_APP 1
#define IDI_IMAGE1 2
#define IDI_IMAGE2 3
