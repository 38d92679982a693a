/* The ids of the plug-in's icons, shared by PlenvoxFast.rc and the code that loads them. */
#pragma once

#define PLENVOX_ICON_PLAYING 101
#define PLENVOX_ICON_MISSING 102
#define PLENVOX_ICON_STREAM 103
