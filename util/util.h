// Utility library: the shared array types and their creation and release (vetores.h), the
// data-file readers (arquivos.h), number text (numeros.h), console input and output
// (console.h).
#pragma once

#include "arquivos.h"
#include "console.h"
#include "numeros.h"
#include "vetores.h"
