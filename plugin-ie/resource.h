// Resource ids of the running-browser import plug-in.
#ifndef VA_PLUGIN_IE_RESOURCE_H
#define VA_PLUGIN_IE_RESOURCE_H

#define IDI_SKIFFPORT 8000

#endif // VA_PLUGIN_IE_RESOURCE_H
