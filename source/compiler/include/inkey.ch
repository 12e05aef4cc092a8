/* inkey.ch: the key codes INKEY() and LASTKEY() return. */
#ifndef _INKEY_CH
#define _INKEY_CH

/* cursor and editing keys */
#define K_UP           5
#define K_DOWN         24
#define K_LEFT         19
#define K_RIGHT        4
#define K_HOME         1
#define K_END          6
#define K_PGUP         18
#define K_PGDN         3
#define K_CTRL_LEFT    26
#define K_CTRL_RIGHT   2
#define K_CTRL_HOME    29
#define K_CTRL_END     23
#define K_CTRL_PGUP    31
#define K_CTRL_PGDN    30
#define K_ENTER        13
#define K_RETURN       13
#define K_CTRL_ENTER   10
#define K_ESC          27
#define K_SPACE        32
#define K_TAB          9
#define K_SH_TAB       271
#define K_INS          22
#define K_DEL          7
#define K_BS           8
#define K_CTRL_BS      127

/* function keys */
#define K_F1           28
#define K_F2           (-1)
#define K_F3           (-2)
#define K_F4           (-3)
#define K_F5           (-4)
#define K_F6           (-5)
#define K_F7           (-6)
#define K_F8           (-7)
#define K_F9           (-8)
#define K_F10          (-9)
#define K_F11          (-40)
#define K_F12          (-41)

/* Ctrl+letter: the letter's position in the alphabet */
#define K_CTRL_A       1
#define K_CTRL_B       2
#define K_CTRL_C       3
#define K_CTRL_D       4
#define K_CTRL_E       5
#define K_CTRL_F       6
#define K_CTRL_G       7
#define K_CTRL_H       8
#define K_CTRL_I       9
#define K_CTRL_J       10
#define K_CTRL_K       11
#define K_CTRL_L       12
#define K_CTRL_M       13
#define K_CTRL_N       14
#define K_CTRL_O       15
#define K_CTRL_P       16
#define K_CTRL_Q       17
#define K_CTRL_R       18
#define K_CTRL_S       19
#define K_CTRL_T       20
#define K_CTRL_U       21
#define K_CTRL_V       22
#define K_CTRL_W       23
#define K_CTRL_X       24
#define K_CTRL_Y       25
#define K_CTRL_Z       26

/* Alt+letter */
#define K_ALT_A        286
#define K_ALT_B        304
#define K_ALT_C        302
#define K_ALT_D        288
#define K_ALT_E        274
#define K_ALT_F        289
#define K_ALT_G        290
#define K_ALT_H        291
#define K_ALT_I        279
#define K_ALT_J        292
#define K_ALT_K        293
#define K_ALT_L        294
#define K_ALT_M        306
#define K_ALT_N        305
#define K_ALT_O        280
#define K_ALT_P        281
#define K_ALT_Q        272
#define K_ALT_R        275
#define K_ALT_S        287
#define K_ALT_T        276
#define K_ALT_U        278
#define K_ALT_V        303
#define K_ALT_W        273
#define K_ALT_X        301
#define K_ALT_Y        277
#define K_ALT_Z        300

#endif
