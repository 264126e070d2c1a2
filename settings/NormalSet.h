// Defaults and normalisation of the normal-mode groups and the system
// settings. The checks correct every out-of-range field in place, silently,
// and return 1 when they changed something, else 0.
#pragma once

// Defaults.
void DataFCInitOne(int group);
void DataFCInitAll();
void DataFPInitNormalOne(int group);
void DataFPInitNormalAll();

// FC families: isFCT 1 for FCT, 0 for FCS.
int DataFCCheckOne(int isFCT, int group);
int DataFCCheckAll(int isFCT);
// FS families: isFSA 1 for FSA, 0 for FSB.
int DataFSNormalCheckOne(int isFSA, int group);
int DataFSNormalCheckAll(int isFSA);
// FP families: isFPA 1 for FPA, 0 for FPB.
int DataFPNormalCheckOne(int isFPA, int group);
int DataFPNormalCheckAll(int isFPA);
int DataGSNormalCheckOne(int group);
int DataGSNormalCheckAll();
// FL: flag is always 1 and has no effect.
int DataFLNormalCheckOne(int flag, int group);
int DataFLNormalCheckAll(int flag);

// The checks the setting-file readers run after loading, chosen by the
// model code. FC records are always normalised with the FC rules (FCT rules
// only for the FCT code, FCS rules otherwise). FP records get the routine of
// their family (FSA, FSB, FPA, FPB, GS, FL); any other code normalises nothing
// and returns 0.
int DataFCCheckAllByModel(int modelType);
int DataFCCheckOneByModel(int modelType, int group);
int DataFPNormalCheckAllByModel(int modelType);
int DataFPNormalCheckOneByModel(int modelType, int group);
// The records of the model's own family: the FC records for FCT and FCS, the
// FP records for the others; 0 for an unknown code.
int DataNormalCheckAllByModel(int modelType);
