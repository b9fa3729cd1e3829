// The scene: a dark mirror ball bouncing over a glass floor, its reflection
// showing through, the whole turning slowly.
#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <memory>
#include <string>

#include "renderer/bench_win32.h"
#include "renderer/gl_texture_win32.h"
#include "renderer/picture_loader.h"
#include "renderer/shell_win32.h"
#include "renderer/wobble.h"
#include "saver/common/places.h"
#include "saver/common/places_win32.h"
#include "saver/common/wide_text_win32.h"
#include "timing/launch_times_win32.h"

GLTexture g_texSurface;       // base layer of both balls
GLTexture g_texShine;         // reflection on the ball
GLTexture g_texFloor;         // the floor
GLTexture g_texShineMirror;   // reflection on the mirrored ball

namespace {

GLUquadric* g_sphere = nullptr;
tremblix::WobbleState g_wobble;
// The pictures being read ahead, from the start until the scene is set up.
std::unique_ptr<tremblix::PictureLoader> g_pictures;

// The four pictures by their numbers, in the order they are loaded.
constexpr int kSurfaceFile = 4;
constexpr int kShineFile = 2;
constexpr int kFloorFile = 1;
constexpr int kShineMirrorFile = 3;
// The chains are built before OpenGL can say its largest texture: one built
// within this and found too large is built again. Screens stay well below it.
constexpr int32_t kPresumedLargestTexture = 16384;
// Two cores are common; the renderer's own thread is busy with the window.
constexpr int kPictureWorkers = 2;

constexpr double kFieldOfView = 55, kNear = 1, kFar = 20;
constexpr float kEyeDistance = -4;
constexpr float kSceneDrop = -0.5f;
constexpr float kTilt = 25;
constexpr double kTurnPerSecond = 20;
constexpr long double kTurnPeriod = 360 / kTurnPerSecond;  // seconds
constexpr double kSphereRadius = 1;
constexpr int kSphereSlices = 32, kSphereStacks = 32;
constexpr float kBallGrey = 0.75f, kMirrorGrey = 0.5f;
constexpr float kFloorHalfSide = 2.75f;
constexpr float kFloorOpacity = 0.6f;

// Picture n's path in UTF-8, in the folder the screen saver wrote to.
std::string PictureFile(int n) {
  static const std::wstring folder = tremblix::PictureFolderOfThisUser(false);
  return tremblix::Narrow(tremblix::PicturePath(folder, n), CP_UTF8);
}

void LoadTexture(GLTexture& texture, int number) {
  const std::string file = PictureFile(number);
  tremblix::TextureTimes times;
  if (g_pictures) {
    const double start = tremblix::launch_times::Now();
    tremblix::LoadedPicture picture = g_pictures->Take(file);
    times.wait = tremblix::launch_times::Now() - start;
    texture.LoadBmp(file, std::move(picture), &times);
  } else {
    texture.LoadBmp(file, &times);
  }
  // By name alone: the folder is the user's and may hold blanks.
  tremblix::BenchTextureLoaded(
      tremblix::Narrow(tremblix::PictureName(number), CP_UTF8).c_str(), times);
}

// The surface picture laid flat in eye space, then the shine picture added on
// top as a reflection, covering exactly the same pixels.
void DrawTwoPassSphere(float grey, GLenum front_face, const GLTexture& shine) {
  g_texSurface.Bind();
  glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
  glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
  glEnable(GL_TEXTURE_GEN_S);
  glEnable(GL_TEXTURE_GEN_T);
  glDepthFunc(GL_LESS);
  glDisable(GL_BLEND);
  glColor3f(grey, grey, grey);
  glFrontFace(front_face);
  gluSphere(g_sphere, kSphereRadius, kSphereSlices, kSphereStacks);

  glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
  glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_BLEND);
  shine.Bind();
  glColor3f(1, 1, 1);
  gluSphere(g_sphere, kSphereRadius, kSphereSlices, kSphereStacks);
}

void DrawFloor() {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthFunc(GL_LESS);
  g_texFloor.Bind();
  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
  // Clockwise seen from above, which is the front under the mirrored ball's
  // winding that is still set.
  glColor4f(1, 1, 1, kFloorOpacity);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex3f(-kFloorHalfSide, 0, -kFloorHalfSide);
  glTexCoord2f(1, 0);
  glVertex3f(kFloorHalfSide, 0, -kFloorHalfSide);
  glTexCoord2f(1, 1);
  glVertex3f(kFloorHalfSide, 0, kFloorHalfSide);
  glTexCoord2f(0, 1);
  glVertex3f(-kFloorHalfSide, 0, kFloorHalfSide);
  glEnd();
}

}  // namespace

void PreloadScene() {
  // The files are complete before the renderer starts; OpenGL is not needed
  // until the upload.
  try {
    g_pictures = std::make_unique<tremblix::PictureLoader>(
        tremblix::OpenPictureFile,
        std::vector<std::string>{PictureFile(kSurfaceFile), PictureFile(kShineFile),
                                 PictureFile(kFloorFile), PictureFile(kShineMirrorFile)},
        kPresumedLargestTexture, kPictureWorkers);
  } catch (...) {
    // Without a loader the scene loads each picture itself.
    g_pictures.reset();
  }
}

void SetSceneView(const tremblix::Viewport& view) {
  glViewport(view.x, view.y, view.width, view.height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // The vertical field is fixed: a wider screen sees more at the sides, and
  // nothing is stretched.
  gluPerspective(kFieldOfView, tremblix::AspectOf(view), kNear, kFar);
  glMatrixMode(GL_MODELVIEW);
}

bool InitScene(const tremblix::Viewport& view) {
  SetSceneView(view);
  glLoadIdentity();
  glTranslatef(0, 0, kEyeDistance);

  glEnable(GL_DEPTH_TEST);
  glCullFace(GL_BACK);
  glEnable(GL_CULL_FACE);

  LoadTexture(g_texSurface, kSurfaceFile);
  LoadTexture(g_texShine, kShineFile);
  LoadTexture(g_texFloor, kFloorFile);
  LoadTexture(g_texShineMirror, kShineMirrorFile);
  g_pictures.reset();

  // The ball is scaled unevenly, and sphere mapping needs unit normals.
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_NORMALIZE);
  g_sphere = gluNewQuadric();
  gluQuadricTexture(g_sphere, GL_TRUE);
  return true;
}

void ReleaseScene() {
  g_texSurface.Release();
  g_texShine.Release();
  g_texFloor.Release();
  g_texShineMirror.Release();
  if (g_sphere) gluDeleteQuadric(g_sphere);
  g_sphere = nullptr;
}

void DrawFrame() {
  // The clear takes no notice of the viewport: the whole window goes black,
  // the other monitors included.
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPushMatrix();

  const double lift =
      tremblix::StepWobble(g_wobble, g_clock.SecondsModulo(tremblix::kBouncePeriod), g_frameSeconds);

  glTranslatef(0, kSceneDrop, 0);
  glRotatef(kTilt, 1, 0, 0);
  glRotated(g_clock.SecondsModulo(kTurnPeriod) * kTurnPerSecond, 0, 1, 0);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);

  glPushMatrix();
  glTranslated(0, lift, 0);
  glScaled(g_wobble.scaleXZ, g_wobble.scaleY, g_wobble.scaleXZ);
  DrawTwoPassSphere(kBallGrey, GL_CCW, g_texShine);
  glPopMatrix();

  // The negative scale turns the winding around.
  glPushMatrix();
  glTranslated(0, -lift, 0);
  glScaled(g_wobble.scaleXZ, -g_wobble.scaleY, g_wobble.scaleXZ);
  DrawTwoPassSphere(kMirrorGrey, GL_CW, g_texShineMirror);
  glPopMatrix();

  DrawFloor();
  glPopMatrix();
}
