# The two commands of the README: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= 2
DEBIAN_PACKAGES = build-essential cmake pkg-config ccache \
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libgl-dev libsqlite3-dev sqlite3 libqpdf-dev \
  libcurl4-openssl-dev fonts-liberation2 python3 python3-aiosmtpd poppler-utils \
  xvfb xauth imagemagick qt6-charts-dev libical-dev python3-icalendar \
  desktop-file-utils appstream lintian dpkg-dev file fakeroot \
  librsvg2-bin adwaita-icon-theme tzdata \
  qpdf libxml2-utils default-jre-headless libsaxonhe-java postgresql libpq-dev

.PHONY: deps configure build run test bench deb clean

deps:
	@missing=""; for p in $(DEBIAN_PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  SUDO=""; [ "$$(id -u)" -ne 0 ] && SUDO=sudo; \
	  $$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing; \
	fi

configure:
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: deps build
	./$(BUILD_DIR)/src/fennick

test: deps build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

bench: deps build
	@for b in $(BUILD_DIR)/bench/bench_*; do [ -f "$$b" ] && [ -x "$$b" ] && QT_QPA_PLATFORM=offscreen "$$b"; done; true

# fennick_$(version)_amd64.deb in the build folder, from the program just built.
deb: deps build
	cd $(BUILD_DIR) && cpack -G DEB

clean:
	rm -rf $(BUILD_DIR)

# The reliability trials: every store operation under every kind of injected
# disk fault, 200 kills of a saving child process, and four seats saving at
# once on a private server while seats are killed. Prints the figures.
.PHONY: trials
trials: deps build
	@cd $(BUILD_DIR) && rc=0; \
	QT_QPA_PLATFORM=offscreen FENNICK_TRIALS=full ./tests/test_faultinjection -silent || rc=1; \
	QT_QPA_PLATFORM=offscreen ./tests/crash_trial --kills 200 || rc=1; \
	QT_QPA_PLATFORM=offscreen ./tests/seat_trial --seats 4 --saves 50 --kills 3 || rc=1; \
	exit $$rc
