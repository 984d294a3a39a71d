#include "engine/runtime/program_state.h"

double CurrentTime = 0.0;
int Step = 1000;
double AosTime = 0.0;
double LosTime = 0.0;
double SiderealTime = 0.0;

tlearray MainList;
tlearray SkyList;

std::vector<TargetState> SatStates;
std::vector<TargetState> BodyStates;
int BodyCount = -1;

int SelectedPos = 0;
int SelectedMain = 0;

double DistanceFactor = 1.0;

RunningFlag DownloadRunning{false};
