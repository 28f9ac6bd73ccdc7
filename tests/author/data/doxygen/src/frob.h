/**
 * @file frob.h
 * @brief The Frobnitz library: open, frob and close widgets.
 */
#ifndef FROB_H
#define FROB_H

/** @defgroup core Core functions
 *  The functions every program needs.
 *  @{
 */

/** A widget that can be frobbed. */
struct frob_widget {
    int size;   /**< Size in bytes. */
    int flags;  /**< Option bits. */
};

/** Opens a widget.
 *  @param name the widget's name
 *  @return the widget, or NULL */
struct frob_widget *frob_open(const char *name);

/** Closes a widget. */
void frob_close(struct frob_widget *w);
/** @} */

/** @defgroup extra Extra functions
 *  Rarely needed.
 *  @{
 */
/** Frobs a widget @p times times. */
int frob_frob(struct frob_widget *w, int times);
/** @} */

/** Options for frob_open(). */
enum frob_option { FROB_FAST, FROB_SAFE };

#endif
