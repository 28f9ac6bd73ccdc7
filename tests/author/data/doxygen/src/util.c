/** @file util.c
 *  @brief Helpers. */
#include "frob.h"

/** Adds two numbers. */
int frob_add(int a, int b) { return a + b; }
