#pragma once

// The program's entry: prepares the toolkit, enforces the single running
// copy, sets up logging and runs the main window's event loop.
int RunSplicora(int argc, char* argv[]);
