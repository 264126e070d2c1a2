// Compiled only by the core_links_no_widgets test, which expects this to fail:
// the core's include paths must not reach the widget headers.
#include <QWidget>
int probe() { return sizeof(QWidget); }
