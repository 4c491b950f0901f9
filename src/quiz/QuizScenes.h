#pragma once

// Registers the quiz screen and the quiz alert sheet with the storyboard "Main".
void registerQuizScenes();
