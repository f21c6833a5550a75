// The user's fixed phrases: a second list of texts beside the history,
// in phrase.dat with its own working file, which nothing but the user
// changes (capture, the history's clearing, restoring and start-up
// delete leave it alone) and whose order is only the user's.
#pragma once

#include "store/store.h"

constexpr char kPhraseBaseName[] = "phrase";

Store& Phrases();
