/*
 * tovu_module.h: what a tovu host sees of the Ferrolune module.
 *
 * The host loads ferrolune-tovu.so, looks the functions below up by name
 * and calls them on its GUI thread. module_init_win receives the host's
 * service table: TOVU_SERVICE_TABLE_SIZE bytes of eight-byte members, of
 * which the module copies all and uses the members at the offsets listed
 * here. Function members take the arguments written beside them; data
 * members are pointers into the host that the module reads and writes.
 */
#ifndef FERROLUNE_TOVU_MODULE_H
#define FERROLUNE_TOVU_MODULE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define TOVU_EXPORT __attribute__((visibility("default")))

#define TOVU_SERVICE_TABLE_SIZE 368

/* Function members of the service table. */
#define TOVU_WIN_SHOWN 0x00          /* void () */
#define TOVU_WIN_HIDDEN 0x08         /* void () */
#define TOVU_WIN_MOVED 0x10          /* void () */
#define TOVU_WIN_SETUP_DONE 0x20     /* void () */
#define TOVU_CLEAR_CANDIDATES 0x28   /* void () */
#define TOVU_PLACE_WINDOW 0x30       /* void (int x, int y) */
#define TOVU_CANDIDATES_HIDDEN 0x38  /* void () */
#define TOVU_MARK_PREV_PAGE 0x40     /* void () */
#define TOVU_MARK_NEXT_PAGE 0x48     /* void () */
#define TOVU_SET_CANDIDATE 0x50      /* void (int index, const char *text, int) */
#define TOVU_REGISTER_CALLBACKS 0x58 /* void (tovu_select_fn, tovu_page_fn up, tovu_page_fn down) */
#define TOVU_WIN_SETUP_BEGIN 0x68    /* void () */
#define TOVU_INPUT_ACTIVE 0x70       /* int () */
#define TOVU_GET_WINDOW_SIZE 0x80    /* void (GtkWidget *window, int *w, int *h) */
#define TOVU_STYLE_WINDOW 0x88       /* void (GtkWidget *window) */
#define TOVU_SET_WIDGET_FONT 0x90    /* void (GtkWidget *widget, int size) */
#define TOVU_SETUP_POPUP 0x98        /* void (GtkWidget *window) */
#define TOVU_REPORT 0xa8             /* void (const char *format, ...) */
#define TOVU_NO_WINDOW_MODE 0xb8     /* int () */
#define TOVU_COMMIT_STRING 0xd8      /* void (const char *utf8) */

/* Data members of the service table. */
#define TOVU_SELECTION_STATE 0xf0 /* record; ints at 0x14 (highlight on), 0x48 (highlight index) */
#define TOVU_FONT_SIZE 0x110      /* int * */
#define TOVU_CURSOR_FG 0x120      /* char ** */
#define TOVU_CURSOR_BG 0x130      /* char ** */
#define TOVU_SHOW_WHEN_EMPTY 0x138 /* int * */
#define TOVU_WIN_X 0x140          /* int * */
#define TOVU_WIN_Y 0x148          /* int * */
#define TOVU_WIN_W 0x150          /* int * */
#define TOVU_WIN_H 0x158          /* int * */
#define TOVU_SCREEN_W 0x160       /* int * */
#define TOVU_SCREEN_H 0x168       /* int * */

/* Byte offsets inside the selection state record. */
#define TOVU_SELECTION_HIGHLIGHT_ON 0x14
#define TOVU_SELECTION_HIGHLIGHT_INDEX 0x48

/* Candidate-window callbacks the module registers with the host. */
typedef int (*tovu_select_fn)(unsigned index);
typedef void (*tovu_page_fn)(void);

/* One preedit attribute: kind 1 marks the text under composition; start
 * and end count characters. */
typedef struct tovu_preedit_attribute {
  int kind;
  uint16_t start;
  uint16_t end;
} tovu_preedit_attribute;

/* The user's settings, in the order of the settings file. */
typedef struct ferrolune_conf {
  int32_t method_traditional;
  int32_t learning;
  int32_t space_opens_candidates;
  int32_t candidate_cursor_at_end;
  int32_t selection_returns_to_end;
  int32_t clear_composing_with_escape;
  int32_t max_completed_syllables;
} ferrolune_conf;

/* Starts the module with the host's service table; 1 on success. */
TOVU_EXPORT int module_init_win(void *services);
/* Handles a key press (X11 keysym, X11 modifier mask); 1 when consumed. */
TOVU_EXPORT int module_feedkey(int keysym, int state);
/* Key releases are never consumed: always 0. */
TOVU_EXPORT int module_feedkey_release(int keysym, int state);
/* Copies the preedit (at most 511 bytes, whole characters) into `text`,
 * which holds at least 512 bytes; returns the number of attributes (0/1). */
TOVU_EXPORT int module_get_preedit(char *text, tovu_preedit_attribute *attrs,
                                   int *cursor, int *extra);
/* Drops the composition; 1 when something was being composed. */
TOVU_EXPORT int module_reset(void);
/* Commits the composition through commit_string; returns 0. */
TOVU_EXPORT int module_flush_input(void);
TOVU_EXPORT void module_move_win(int x, int y);
TOVU_EXPORT void module_change_font_size(void);
TOVU_EXPORT void module_show_win(void);
TOVU_EXPORT void module_hide_win(void);
TOVU_EXPORT int module_win_visible(void);
TOVU_EXPORT void module_get_win_geom(void);
/* Opens the settings dialog, or brings it to the front. */
TOVU_EXPORT void module_setup_window_create(void);

/* HOME/.tovu/config/ferrolune.json, freed with g_free. */
TOVU_EXPORT char *ferrolune_conf_path(void);
/* HOME/.tovu/ferrolune/<name>, freed with g_free. */
TOVU_EXPORT char *ferrolune_home_path(const char *name);
/* Fills `conf` from the settings file; whatever is missing or of the wrong
 * type keeps its default. Never fails. */
TOVU_EXPORT void ferrolune_conf_load(ferrolune_conf *conf);
/* Writes the settings file atomically; 1 on success, 0 with the old file
 * left as it was. */
TOVU_EXPORT int ferrolune_conf_save(const ferrolune_conf *conf);

#ifdef __cplusplus
}
#endif

#endif /* FERROLUNE_TOVU_MODULE_H */
