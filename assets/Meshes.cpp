// The embedded meshes live at ":/meshes/<id>.3ds".
#include "assets/Meshes.h"

#include <QFile>

QByteArray MeshResource(int id)
{
  switch (id) {
    case kWingMesh:
    case kBracketSmallMesh:
    case kBracketMediumMesh:
    case kBracketLargeMesh:
    case kBallastMesh: break;
    default: return {};
  }
  QFile file(QStringLiteral(":/meshes/%1.3ds").arg(id));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
