#include "detect/drive_tables.h"

#include "detect/detect.h"

namespace detect {

const char* const g_KestrelGenericIds[] = {
    "USB\\Vid_3107&Pid_2611", "USB\\Vid_3107&Pid_2612",
    "USB\\Vid_3107&Pid_2613", "USB\\Vid_3107&Pid_2614",
    "USB\\Vid_3107&Pid_2615", "USB\\Vid_3107&Pid_2616",
    "USB\\Vid_3107&Pid_2617", "USB\\Vid_3107&Pid_2623",
    "USB\\Vid_3107&Pid_2624", "USB\\Vid_3107&Pid_2625",
    "USB\\Vid_3107&Pid_2626", "USB\\Vid_3107&Pid_4492",
    "USB\\Vid_3107&Pid_4496", "",
};

const char* const g_KestrelPrismIds[] = {
    "USB\\Vid_3107&Pid_2623",
    "USB\\Vid_3107&Pid_2624",
    "USB\\Vid_3107&Pid_2625",
    "USB\\Vid_3107&Pid_2626",
    "",
};

const char* const g_OrcaSlimIds[] = {"USB\\VID_3107&PID_9340", ""};

const char* const g_OrcaPrismIds[] = {"USB\\Vid_3107&Pid_9341", ""};

const char* const g_CountOnlyIds[] = {"USB\\VID_3107&PID_2619", "USB\\VID_3107&PID_2620", ""};

const DriveGroup g_KestrelGroup = {{g_KestrelGenericIds, g_KestrelPrismIds}};
const DriveGroup g_OrcaGroup = {{g_OrcaSlimIds, g_OrcaPrismIds}};
const DriveGroup g_ThirdGroup = {{g_CountOnlyIds, nullptr}};

// Steps 2 and 4 share the Prism disk: the group that the device count finds
// tells which of the two it is.
const CatalogueStep g_DetectionCatalogue[kCatalogueSteps] = {
    {g_OrcaSlimIds, kVariantOrca, "USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Slim",
     "SCSI\\NORVASK_ROVANE_SLIM_____0"},
    {g_OrcaPrismIds, kVariantOrca, "USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Prism",
     "SCSI\\NORVASK_ROVANE_PRISM___X"},
    {g_KestrelGenericIds, kVariantKestrel, "USBSTOR\\Disk&Ven_Generic&Prod_STORAGE_DEVICE",
     "SCSI\\GENERIC_STORAGE_DEVICE__1"},
    {g_KestrelPrismIds, kVariantKestrel, "USBSTOR\\Disk&Ven_Norvask&Prod_Rovane_Prism",
     "SCSI\\NORVASK_ROVANE_PRISM___X"},
};

}  // namespace detect
