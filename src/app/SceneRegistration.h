#pragma once

// Registers every scene of the storyboard "Main" by its identifier.
void registerScenes();
