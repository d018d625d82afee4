#pragma once

// Writes the change log next to the executable and hands it to the registered PDF program.
void ShowChangeLog();
