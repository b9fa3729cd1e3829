// The scene: a dark mirror ball bouncing over a glass floor, its reflection
// showing through, the whole turning slowly.
#include <windows.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>
#include <string>

#include "renderer/bench_win32.h"
#include "renderer/gl_texture_win32.h"
#include "renderer/picture_loader.h"
#include "renderer/shell_win32.h"
#include "renderer/texture_budget.h"
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

// The three pictures another monitor reflects, taken from its own part of
// the desktop. The primary's are the four above.
struct MonitorTextures {
  int set = 0;
  GLTexture shine, floor, shineMirror;

  void Release() {
    shine.Release();
    floor.Release();
    shineMirror.Release();
  }
};

// What one monitor's scene is drawn with.
struct SceneTextures {
  const GLTexture* shine;
  const GLTexture* floor;
  const GLTexture* shineMirror;
};

GLUquadric* g_sphere = nullptr;
tremblix::WobbleState g_wobble;
tremblix::ScreenLayout g_layout;
// Made and released while the context is current, never by a destructor at exit.
std::vector<std::unique_ptr<MonitorTextures>> g_monitorTextures;
// The pictures being read ahead, from the start until the scene is set up.
std::unique_ptr<tremblix::PictureLoader> g_pictures;
// What each picture's chain is built within: every monitor's within one budget.
std::vector<tremblix::PlannedPicture> g_plan;

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

// Picture n of a set, its path in UTF-8, in the folder the screen saver wrote to.
std::string PictureFile(int set, int n) {
  static const std::wstring folder = tremblix::PictureFolderOfThisUser(false);
  return tremblix::Narrow(tremblix::PicturePath(folder, set, n), CP_UTF8);
}

void PlanTextures(const tremblix::ScreenLayout& layout) {
  // Within OpenGL's largest too, which the upload takes in once it is known.
  g_plan = tremblix::PlanPictures(layout, tremblix::kTextureBudget, INT32_MAX);
}

int32_t LargestFor(int set, int number) {
  for (const tremblix::PlannedPicture& p : g_plan) {
    if (p.set == set && p.number == number) return p.largest;
  }
  return INT32_MAX;
}

bool LoadTexture(GLTexture& texture, int set, int number) {
  const std::string file = PictureFile(set, number);
  tremblix::TextureTimes times;
  bool loaded;
  if (g_pictures) {
    const double start = tremblix::launch_times::Now();
    tremblix::LoadedPicture picture = g_pictures->Take(file);
    times.wait = tremblix::launch_times::Now() - start;
    loaded = texture.LoadBmp(file, std::move(picture), &times, LargestFor(set, number));
  } else {
    loaded = texture.LoadBmp(file, &times, LargestFor(set, number));
  }
  // By name alone: the folder is the user's and may hold blanks.
  tremblix::BenchTextureLoaded(
      tremblix::Narrow(tremblix::PictureName(set, number), CP_UTF8).c_str(), times);
  return loaded;
}

// The sets of 2 and on the layout's monitors reflect, each once.
std::vector<int> OtherSets(const tremblix::ScreenLayout& layout) {
  std::vector<int> sets;
  for (const tremblix::SceneView& view : layout.views) {
    if (view.picture_set != 1 &&
        std::find(sets.begin(), sets.end(), view.picture_set) == sets.end()) {
      sets.push_back(view.picture_set);
    }
  }
  return sets;
}

// A set that does not load whole is dropped: its monitor shows the
// primary's pictures rather than a white ball.
void LoadMonitorTextures(int set) {
  auto textures = std::make_unique<MonitorTextures>();
  textures->set = set;
  const bool whole = LoadTexture(textures->shine, set, kShineFile) &&
                     LoadTexture(textures->floor, set, kFloorFile) &&
                     LoadTexture(textures->shineMirror, set, kShineMirrorFile);
  if (whole) {
    g_monitorTextures.push_back(std::move(textures));
  } else {
    textures->Release();
    tremblix::launch_times::Mark("dll set %d did not load: the primary's instead", set);
  }
}

SceneTextures TexturesOf(const tremblix::SceneView& view) {
  for (const auto& t : g_monitorTextures) {
    if (t->set == view.picture_set) return {&t->shine, &t->floor, &t->shineMirror};
  }
  return {&g_texShine, &g_texFloor, &g_texShineMirror};
}

// One monitor's viewport and projection. The vertical field is fixed on a
// landscape monitor: a wider one sees more at the sides, nothing is
// stretched; a portrait one keeps the same field across.
void SetView(const tremblix::Viewport& view) {
  glViewport(view.x, view.y, view.width, view.height);
  glScissor(view.x, view.y, view.width, view.height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(tremblix::VerticalFieldOf(view, kFieldOfView), tremblix::AspectOf(view), kNear,
                 kFar);
  glMatrixMode(GL_MODELVIEW);
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

void DrawFloor(const GLTexture& floor) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDepthFunc(GL_LESS);
  floor.Bind();
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

void PreloadScene(const tremblix::ScreenLayout& layout) {
  // The files are complete before the renderer starts; OpenGL is not needed
  // until the upload. The primary's first, in the order they are uploaded.
  try {
    PlanTextures(layout);
    std::vector<tremblix::PictureRequest> requests;
    for (int n : {kSurfaceFile, kShineFile, kFloorFile, kShineMirrorFile}) {
      requests.push_back(
          {PictureFile(1, n), std::min(kPresumedLargestTexture, LargestFor(1, n))});
    }
    for (int set : OtherSets(layout)) {
      for (int n : {kShineFile, kFloorFile, kShineMirrorFile}) {
        requests.push_back(
            {PictureFile(set, n), std::min(kPresumedLargestTexture, LargestFor(set, n))});
      }
    }
    g_pictures = std::make_unique<tremblix::PictureLoader>(
        tremblix::OpenPictureFile, requests, kPresumedLargestTexture, kPictureWorkers);
  } catch (...) {
    // Without a loader the scene loads each picture itself.
    g_pictures.reset();
  }
}

void SetSceneLayout(const tremblix::ScreenLayout& layout) {
  g_layout = layout;
  SetView(g_layout.views.front().viewport);
}

bool InitScene(const tremblix::ScreenLayout& layout) {
  SetSceneLayout(layout);
  PlanTextures(layout);
  glLoadIdentity();
  glTranslatef(0, 0, kEyeDistance);

  glEnable(GL_DEPTH_TEST);
  glCullFace(GL_BACK);
  glEnable(GL_CULL_FACE);

  // Every monitor's pictures before the first frame.
  LoadTexture(g_texSurface, 1, kSurfaceFile);
  LoadTexture(g_texShine, 1, kShineFile);
  LoadTexture(g_texFloor, 1, kFloorFile);
  LoadTexture(g_texShineMirror, 1, kShineMirrorFile);
  for (int set : OtherSets(layout)) LoadMonitorTextures(set);
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
  for (const auto& t : g_monitorTextures) t->Release();
  g_monitorTextures.clear();
  if (g_sphere) gluDeleteQuadric(g_sphere);
  g_sphere = nullptr;
}

namespace {

void DrawScene(double lift, const SceneTextures& textures) {
  glPushMatrix();
  glTranslatef(0, kSceneDrop, 0);
  glRotatef(kTilt, 1, 0, 0);
  glRotated(g_clock.SecondsModulo(kTurnPeriod) * kTurnPerSecond, 0, 1, 0);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);

  glPushMatrix();
  glTranslated(0, lift, 0);
  glScaled(g_wobble.scaleXZ, g_wobble.scaleY, g_wobble.scaleXZ);
  DrawTwoPassSphere(kBallGrey, GL_CCW, *textures.shine);
  glPopMatrix();

  // The negative scale turns the winding around.
  glPushMatrix();
  glTranslated(0, -lift, 0);
  glScaled(g_wobble.scaleXZ, -g_wobble.scaleY, g_wobble.scaleXZ);
  DrawTwoPassSphere(kMirrorGrey, GL_CW, *textures.shineMirror);
  glPopMatrix();

  DrawFloor(*textures.floor);
  glPopMatrix();
}

}  // namespace

void DrawFrame() {
  // The clear takes no notice of the viewport: the whole window goes black,
  // what lies on no monitor included.
  glDisable(GL_SCISSOR_TEST);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  // The bounce and the squash advance once a frame; every monitor shows that
  // one moment.
  const double lift =
      tremblix::StepWobble(g_wobble, g_clock.SecondsModulo(tremblix::kBouncePeriod), g_frameSeconds);
  const bool several = g_layout.views.size() > 1;
  for (const tremblix::SceneView& view : g_layout.views) {
    if (several) {
      // Monitors may overlap: each scene's depth is its own.
      SetView(view.viewport);
      glEnable(GL_SCISSOR_TEST);
      glClear(GL_DEPTH_BUFFER_BIT);
    }
    DrawScene(lift, TexturesOf(view));
  }
  glDisable(GL_SCISSOR_TEST);
}
