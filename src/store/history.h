// The program's one history: the data file clip.dat with its working
// file, open while the program runs.
#pragma once

#include "store/store.h"

Store& History();
