// Replaced by the plug-in object.
