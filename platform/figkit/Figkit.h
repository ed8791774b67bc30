// Set-up of the diagram library.
#pragma once

// Called once from the library entry of the program's shared library; calling it again does
// nothing.
void _InitFigkitDLL();
// Whether _InitFigkitDLL has run.
bool FigkitIsInitialized();
