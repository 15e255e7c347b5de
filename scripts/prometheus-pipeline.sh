# Sourced by tests/host/check-prometheus.sh and scripts/fleet-demo.sh: the real pipeline from the
# metrics file to Prometheus on this machine. prometheus-node-exporter serves a folder through
# its textfile collector and prometheus scrapes it every second, both on 127.0.0.1 with free
# ports, started here and stopped by pipeline_stop (by their process ids).
#   pipeline_start TEXTFILE_DIR STATE_DIR   sets PIPELINE_URL (Prometheus' address)
#   pipeline_query PROMQL                    prints the JSON answer of an instant query
#   pipeline_stop

pipeline_pids=()

# A port nobody listens on now; the kernel picks it.
pipeline_free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

pipeline_start() {
  local textfile=$1 state=$2 exporter_port prometheus_port tries
  for tool in prometheus prometheus-node-exporter promtool curl python3; do
    if ! command -v "$tool" >/dev/null; then
      echo "prometheus pipeline: '$tool' is missing; scripts/install-deps.sh installs it" >&2
      return 1
    fi
  done
  mkdir -p "$state/tsdb"
  exporter_port=$(pipeline_free_port)
  prometheus-node-exporter --collector.disable-defaults --collector.textfile \
    --collector.textfile.directory="$textfile" --web.listen-address="127.0.0.1:$exporter_port" \
    >"$state/node-exporter.log" 2>&1 &
  pipeline_pids+=($!)
  cat >"$state/prometheus.yml" <<CONFIG
global:
  scrape_interval: 1s
  evaluation_interval: 1s
scrape_configs:
  - job_name: vaderur
    static_configs:
      - targets: ['127.0.0.1:$exporter_port']
CONFIG
  prometheus_port=$(pipeline_free_port)
  prometheus --config.file="$state/prometheus.yml" --storage.tsdb.path="$state/tsdb" \
    --web.listen-address="127.0.0.1:$prometheus_port" >"$state/prometheus.log" 2>&1 &
  pipeline_pids+=($!)
  PIPELINE_URL="http://127.0.0.1:$prometheus_port"
  # Ready: Prometheus answers and has scraped the exporter once (up == 1), 30 s at most.
  for tries in $(seq 1 150); do
    if pipeline_query 'up' 2>/dev/null | grep -q '"value":\[[0-9.]*,"1"\]'; then
      return 0
    fi
    sleep 0.2
  done
  echo "prometheus pipeline: Prometheus did not scrape the exporter within 30 s; its logs:" >&2
  tail -n 20 "$state/prometheus.log" "$state/node-exporter.log" >&2
  return 1
}

pipeline_query() {
  curl -sfG "$PIPELINE_URL/api/v1/query" --data-urlencode "query=$1"
}

pipeline_stop() {
  local pid
  for pid in "${pipeline_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${pipeline_pids[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  pipeline_pids=()
}
