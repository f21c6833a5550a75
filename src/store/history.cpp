#include "store/history.h"

Store& History() {
  static Store history(kBaseName);
  return history;
}
