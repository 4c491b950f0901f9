#pragma once

#include <QString>

// Where a test saves a picture of a screen. Pictures go to the folder named by
// PELLORY_PICTURES_DIR when it is set (PELLORY_PICTURES_DIR=$PWD/docs redraws the README's
// pictures); otherwise to a scratch folder, so that a test run never changes the checkout.
// The folder is made when missing; an empty text means it could not be.
QString picturePath(const QString& fileName);
