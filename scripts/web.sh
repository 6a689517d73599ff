#!/usr/bin/env bash
# The island in a web page: the same sources built to WebAssembly and WebGL 2
# with Debian's emscripten, into build-web/. build-web/site/ then holds
# index.html and every file it loads; any static file server can serve it,
# with no special headers.
#
#   scripts/web.sh          build, then serve build-web/site/ on 127.0.0.1 (PORT, default 8000)
#   scripts/web.sh build    install what is missing and build build-web/site/
#   scripts/web.sh test     build, then run the browser tests in Debian's chromium and
#                           firefox-esr (on an Xvfb display of their own when there is none)
#   scripts/web.sh lint     check the page's JavaScript and its tests with ESLint
#   scripts/web.sh bench    build, then measure the page against the native program
#   scripts/web.sh bench threads
#                           the same, and also the page built to read its assets on
#                           worker threads (build-web/site-threads/, served cross-origin
#                           isolated), for its start-up
#
# It installs what is missing: the Debian packages of scripts/install_deps.sh,
# emscripten, chromium, firefox-esr and node-acorn, and the npm packages
# pinned in web/package-lock.json (playwright-core, which drives Debian's
# chromium, and puppeteer-core, which drives its firefox-esr; neither
# downloads a browser of its own; CodeMirror, the page's shader editor, and
# esbuild, which bundles it with the page's modules).
#
# The native part (the asset generator, the shader sets, island-capture for
# the tests) is built in build-web/native/, or taken from the configured
# native build named in ISLAND_NATIVE_BUILD (scripts/test.sh passes build/).
set -euo pipefail
cd "$(dirname "$0")/.."
command="${1:-serve}"
case "$command" in
  serve | build | test | bench | lint) ;;
  *) echo "usage: scripts/web.sh [build|test|bench|lint]" >&2; exit 2 ;;
esac

install_packages() {
  local extra=(emscripten chromium firefox-esr node-acorn)
  # Debian's nodejs has no npm of its own; a node from elsewhere brings one.
  command -v npm >/dev/null || extra+=(npm)
  scripts/install_deps.sh "${extra[@]}"
  install_npm_packages
}

install_npm_packages() {
  # playwright-core and puppeteer-core download no browser; the variables
  # keep any other Playwright or Puppeteer package from doing so either.
  # The copy of the lock file marks an install that finished.
  if ! cmp -s web/package-lock.json web/node_modules/.installed-lock.json 2>/dev/null; then
    (cd web && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 PUPPETEER_SKIP_DOWNLOAD=1 \
      npm ci --no-audit --no-fund --loglevel=error &&
      cp package-lock.json node_modules/.installed-lock.json)
  fi
}

# The native part: the asset generator writes Models/ and Sprites/, and the
# build lays out Shaders/, in build-web/native/run/; island-capture, the
# browser tests' reference, is built there too when asked for.
native_build="${ISLAND_NATIVE_BUILD:-build-web/native}"
build_native() {
  if [ -z "${ISLAND_NATIVE_BUILD:-}" ]; then
    cmake -S . -B "$native_build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
      -DISLAND_BENCHMARKS=OFF >/dev/null
  fi
  cmake --build "$native_build" -j"$(nproc)" --target island_assets run_directory "$@" >/dev/null
}

# build_page [threads]: build-web/wasm/ into build-web/site/, or with worker
# threads build-web/wasm-threads/ into build-web/site-threads/.
build_page() {
  local variant="" options=()
  if [ "${1:-}" = threads ]; then variant="-threads" options=(-DISLAND_WEB_THREADS=ON); fi
  # emcc runs its JavaScript tools with acorn, which Debian installs where
  # node does not look by itself.
  export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
  emcmake cmake -S . -B "build-web/wasm$variant" -DCMAKE_BUILD_TYPE=Release -DISLAND_WERROR=ON \
    -DISLAND_WEB_RUN_DIR="$PWD/$native_build/run" "${options[@]}" >/dev/null
  cmake --build "build-web/wasm$variant" -j"$(nproc)" >/dev/null
  local site="build-web/site$variant"
  rm -rf "$site"
  mkdir -p "$site"
  cp web/index.html "build-web/wasm$variant"/out/* "$site"/
  # page.js and its modules in page/ as one file; the workbench's panel and
  # the editor it uses (npm) in chunks of their own, which the page fetches
  # only after the first frame, so that they do not hold up the start.
  web/node_modules/.bin/esbuild web/page.js --bundle --splitting --format=esm --minify \
    --log-level=warning --outdir="$site"
  echo "The page is in $site/ ($(du -sh "$site" | cut -f1))."
}

if [ "$command" = lint ]; then
  command -v npm >/dev/null || install_packages
  install_npm_packages
  cd web && exec node_modules/.bin/eslint --max-warnings=0 .
fi
install_packages
case "$command" in
  build) build_native; build_page ;;
  serve)
    build_native
    build_page
    port="${PORT:-8000}"
    echo "Serving the island on http://127.0.0.1:$port/ (Ctrl+C stops)"
    exec python3 -m http.server --bind 127.0.0.1 --directory build-web/site "$port"
    ;;
  test | bench)
    build_native island-capture island
    build_page
    export ISLAND_SITE="$PWD/build-web/site" ISLAND_NATIVE_RUN="$PWD/$native_build/run"
    if [ "$command" = test ]; then
      # Firefox runs headful (headless, it has no WebGL here), so it needs a display.
      display=()
      [ -n "${DISPLAY:-}" ] || display=(scripts/xvfb.sh)
      exec "${display[@]}" node --test --test-concurrency=1 web/tests/
    fi
    if [ "${2:-}" = threads ]; then build_page threads; else rm -rf build-web/site-threads; fi
    exec node web/bench/page_bench.mjs
    ;;
esac
