// The settings record's life in kopiwell.ini, in the current directory.
#pragma once

// Reads the settings. On a first run (no first-run marker) it writes the
// marker, shows the first-run dialog and returns 0 without reading more;
// the caller then writes every key at once. Otherwise returns 1.
int ReadSettings();

// Writes every key in its order and brings the key-table version in line.
void WriteSettings();
