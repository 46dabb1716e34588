#pragma once
// The program's look: Qt's Fusion style, with the few icons the main window
// makes at start and rarely shows (the menu bar's overflow arrow) read from
// their image files only when first painted. Reading the first image file
// loads Qt's image-format plug-ins, which would otherwise hold back the main
// window's first paint.
void InstallAppStyle();
