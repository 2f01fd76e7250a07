// Runs the console modally and destroys it when its modal loop returns.
#pragma once

void RunConsole();
