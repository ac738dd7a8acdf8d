// The default instances of the program's windows, by the names the windows
// are known by. Referring to one creates and loads it if it does not exist.
#pragma once

class SplashForm;
class AboutForm;
class ResultsWindowForm;
class LoginForm;
class DedicationPictureForm;
class DedicationLetterForm;
class WaterSupplyPipeForm;
class DrainagePipeForm;
class StormWaterForm;
class StormSewerNetworkForm;
class StormSegmentListForm;
class StormResultGridForm;
class StormSegmentAdjustDialog;
class SteelFittingsForm;
class WaterproofSleeveForm;
class DrainageFittingStackForm;
class FireHydrantForm;
class ExtinguisherConfigForm;
class SepticTankForm;

// Shell.
SplashForm& logo();
AboutForm& About();
ResultsWindowForm& Form9();
LoginForm& Login();
DedicationPictureForm& form3();
DedicationLetterForm& Form4();

// Calculators.
WaterSupplyPipeForm& form0();
DrainagePipeForm& Form1();
StormWaterForm& form2();
StormSewerNetworkForm& form13();
StormSegmentListForm& Form14();
StormResultGridForm& Form15();
StormSegmentAdjustDialog& Form10();
SteelFittingsForm& Form6();
WaterproofSleeveForm& form7();
DrainageFittingStackForm& Form8();
FireHydrantForm& Form11();
ExtinguisherConfigForm& Form5();
SepticTankForm& form12();
