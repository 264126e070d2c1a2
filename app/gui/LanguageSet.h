// Setting the texts of the panels from the language file of the current
// language.
#pragma once

#include <QString>

// The text of item n from the open language document (UTF-8).
QString LanguageItem(int n);

// Texts of one panel: 0 main, 1 Step, 2 List, 3 Ramp, 4 Cross, 5 THD, 6 FC
// group, 7 FP group, 8 measurement history; anything else: nothing.
void PanelAllLanguageSet(int panel);
void PanelMainLanguageSet();
void PanelStepLanguageSet();
void PanelListLanguageSet();
void PanelRampLanguageSet();
void PanelCrossLanguageSet();
void PanelTHDLanguageSet();
void PanelGroupLanguageSet();
void PanelFPGroupLanguageSet();
void PanelDisplayLanguageSet();
void PanelCommSetLanguageSet();
void PanelAboutLanguageSet();
void PanelWaitLanguageSet();
