#!/usr/bin/python3
"""A resource grid of the example site on a two-worker Dask cluster.

Predicts the wind resource at 80 m every 100 m over 3 km × 3 km around the
ridge, with the energy yield of the E-101 power curve, on a local cluster of
two worker processes; writes the grid as NetCDF and as a windIO energy
resource, and draws the mean wind speed when matplotlib is installed.

    PYTHONPATH=python /usr/bin/python3 examples/resource_grid_dask.py [OUTPUT_FOLDER]

The output folder defaults to demo-output/python-grid. Run from a checkout
after building (the client finds build/lib), or set KAVI_LIBRARY_DIR.
"""

import os
import sys

import kavicalc

HERE = os.path.dirname(os.path.abspath(__file__))
MAP = os.path.join(HERE, "site.map")
ATLAS = os.path.join(HERE, "station.lib")
POWER_CURVE = os.path.join(HERE, "e101_3050kw.csv")
RIDGE = (1500.0, 1000.0)


def plot_mean_speed(dataset, path):
    """Mean wind speed in colour, terrain contours on top, as a PNG; False without matplotlib."""
    try:
        import matplotlib
    except ImportError:
        return False
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    speed = dataset.mean_speed.sel(height=80.0)
    figure, axes = plt.subplots(figsize=(7.5, 6.2), dpi=110)
    mesh = axes.pcolormesh(dataset.x, dataset.y, speed, shading="nearest", cmap="viridis")
    figure.colorbar(mesh, ax=axes, label="mean wind speed at 80 m (m/s)")
    contours = axes.contour(dataset.x, dataset.y, dataset.elevation, levels=range(10, 130, 20),
                            colors="white", linewidths=0.7)
    axes.clabel(contours, fmt="%d m", fontsize=7)
    axes.set_aspect("equal")
    axes.set_xlabel("x, east (m)")
    axes.set_ylabel("y, north (m)")
    axes.set_title("Example site: mean wind speed at 80 m, terrain elevation contours")
    figure.tight_layout()
    figure.savefig(path)
    plt.close(figure)
    return True


def main(output):
    from distributed import Client, LocalCluster

    os.makedirs(output, exist_ok=True)
    with LocalCluster(n_workers=2, threads_per_worker=1, dashboard_address=None) as cluster, \
            Client(cluster) as client:
        dataset = kavicalc.grid(MAP, ATLAS, 80.0, around=RIDGE, radius=1500.0, spacing=100.0,
                                power_curve=POWER_CURVE, client=client, progress=True)
    print()
    netcdf = os.path.join(output, "resource.nc")
    dataset.to_netcdf(netcdf)
    windio = kavicalc.write_windio(dataset, os.path.join(output, "resource-windio.yaml"))
    speed = dataset.mean_speed.sel(height=80.0)
    print(f"{speed.size} nodes: mean wind speed {float(speed.min()):.2f} to "
          f"{float(speed.max()):.2f} m/s, gross AEP {float(dataset.aep.min()):.0f} to "
          f"{float(dataset.aep.max()):.0f} MWh per year")
    print(f"wrote {netcdf} and {windio}")
    picture = os.path.join(output, "mean-speed.png")
    if plot_mean_speed(dataset, picture):
        print(f"drew {picture}")
    else:
        print("matplotlib is not installed (Debian package python3-matplotlib): no picture")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join("demo-output", "python-grid"))
