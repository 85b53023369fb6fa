// Tavrilo: clicks the mouse again and again at one point of a web page.
#include <windows.h>

#include "app/shell.h"

// The command line and the show command are not consulted.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return runProgram();
}
